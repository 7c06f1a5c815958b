// The system's dynamic loader as the host uses it: a module file's bytes
// mapped from a private copy (so that every load starts with every module
// static at its initial value, even while another copy is loaded), its
// exported symbols, and the program's own file. dlopen on this machine
// (host/core/module_loader_posix.cpp), LoadLibrary on Windows
// (host/core/module_loader_win32.cpp); nothing else in the host knows which.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace z480 {

// One piece of a loaded module as the system's loader mapped it:
// [begin, end) in this process.
struct ModuleSegment {
  std::uintptr_t begin = 0, end = 0;
  bool executable = false;
  bool writable = false;
};

class LoadedLibrary {
 public:
  // Maps the bytes read from path; null with a reason on failure (a file
  // the system's loader would not take is refused before it is mapped).
  static std::unique_ptr<LoadedLibrary> open(std::span<const std::uint8_t> bytes,
                                             const std::string &path, std::string *error);
  // Unmaps the module and removes the private copy.
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary &) = delete;
  LoadedLibrary &operator=(const LoadedLibrary &) = delete;

  // What the host passes as the module's instance handle.
  void *handle() const { return handle_; }
  // An exported symbol, or null.
  void *symbol(const char *name) const;
  // Every piece of the module the loader mapped: the only memory a pointer
  // the module hands over may point at.
  const std::vector<ModuleSegment> &segments() const { return segments_; }

 private:
  LoadedLibrary(void *handle, std::string copy, std::vector<ModuleSegment> segments)
      : handle_(handle), copy_(std::move(copy)), segments_(std::move(segments)) {}
  void *handle_;
  std::string copy_;
  std::vector<ModuleSegment> segments_;
};

}  // namespace z480
