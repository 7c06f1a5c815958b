#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "host/core/module_file.h"
#include "host/core/module_loader.h"

namespace z480 {
namespace {

// Writes the bytes to a private temporary file so the dynamic loader maps
// them afresh even when another copy is still loaded.
std::string private_copy(std::span<const std::uint8_t> bytes, std::string *error) {
  std::error_code ec;
  auto dir = std::filesystem::temp_directory_path(ec);
  if (ec) dir = "/tmp";
  std::string pattern = (dir / "z480-module-XXXXXX").string();
  int fd = mkstemp(pattern.data());
  if (fd < 0) {
    *error = "cannot create a temporary copy of the module: " + std::string(std::strerror(errno));
    return {};
  }
  std::size_t written = 0;
  while (written < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  bool ok = close(fd) == 0 && written == bytes.size();
  if (!ok) {
    std::filesystem::remove(pattern, ec);
    *error = "cannot write a temporary copy of the module";
    return {};
  }
  return pattern;
}

}  // namespace

std::unique_ptr<LoadedLibrary> LoadedLibrary::open(std::span<const std::uint8_t> bytes,
                                                   const std::string &path, std::string *error) {
  // Checked in memory, so the copy mapped is the copy checked.
  if (std::string fault = module_file_fault(bytes); !fault.empty()) {
    *error = "module " + path + " is truncated or corrupt: " + fault;
    return nullptr;
  }
  std::string copy = private_copy(bytes, error);
  if (copy.empty()) return nullptr;
  void *handle = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  std::error_code ec;
  std::filesystem::remove(copy, ec);  // the mapping stays valid
  if (!handle) {
    *error = "cannot load module " + path + ": " + dlerror();
    return nullptr;
  }
  return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(handle, {}));
}

LoadedLibrary::~LoadedLibrary() { dlclose(handle_); }

void *LoadedLibrary::symbol(const char *name) const { return dlsym(handle_, name); }

}  // namespace z480
