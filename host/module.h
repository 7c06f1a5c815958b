// A loaded gauge module: the library mapped with dlopen and its two exported
// descriptors. Each load maps a private copy of the file, so every load starts
// with every module static at its initial value.
#pragma once

#include <memory>
#include <string>

#include "frame/panel.h"

namespace z480 {

class Module {
 public:
  // Loads the module at path; on failure returns null and says why in error.
  static std::unique_ptr<Module> load(const std::string &path, std::string *error);
  ~Module();
  Module(const Module &) = delete;
  Module &operator=(const Module &) = delete;

  GaugeLinkage &linkage() const { return *linkage_; }
  GaugeImport &imports() const { return *imports_; }
  // The handle the host passes with the install service code.
  void *handle() const { return handle_; }
  // The file's name without directory and extension, as panel
  // configurations name the module.
  const std::string &name() const { return name_; }
  // The module's gauge of that name, or null.
  GaugeHeader *find_gauge(const std::string &name) const;

 private:
  Module() = default;
  std::string name_;
  void *handle_ = nullptr;
  GaugeLinkage *linkage_ = nullptr;
  GaugeImport *imports_ = nullptr;
};

}  // namespace z480
