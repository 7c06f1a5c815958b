// A loaded gauge module: the library mapped by the system's loader
// (host/core/module_loader.h) and its two exported descriptors. Each load maps a
// private copy of the file, so every load starts with every module static at
// its initial value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "frame/panel.h"
#include "host/core/module_loader.h"

namespace z480 {

// Identifies sample data with the module resource it was loaded from.
std::uint64_t wave_fingerprint(std::span<const std::uint8_t> data);

struct WaveFingerprint {
  std::uint64_t fingerprint;  // of the WAVE resource's sample data
  std::int32_t wave_id;
};

class Module {
 public:
  // Loads the module at path; on failure returns null and says why in error.
  static std::unique_ptr<Module> load(const std::string &path, std::string *error);
  Module(const Module &) = delete;
  Module &operator=(const Module &) = delete;

  GaugeLinkage &linkage() const { return *linkage_; }
  GaugeImport &imports() const { return *imports_; }
  // The handle the host passes with the install service code.
  void *handle() const { return library_->handle(); }
  // The file's name without directory and extension, as panel
  // configurations name the module.
  const std::string &name() const { return name_; }
  // The module's gauge of that name, or null.
  GaugeHeader *find_gauge(const std::string &name) const;
  // Every WAVE resource of the module, fingerprinted once per load (every
  // host of the module names its sounds by this table).
  const std::vector<WaveFingerprint> &wave_fingerprints();

 private:
  Module() = default;
  std::string name_;
  std::unique_ptr<LoadedLibrary> library_;
  GaugeLinkage *linkage_ = nullptr;
  GaugeImport *imports_ = nullptr;
  std::optional<std::vector<WaveFingerprint>> wave_fingerprints_;
};

}  // namespace z480
