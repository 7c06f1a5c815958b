#include "host/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "host/module_file.h"
#include "platform/resources.h"
#include "platform/wave.h"

namespace z480 {
namespace {

// The module file's bytes; empty with a reason when it cannot be read.
std::vector<std::uint8_t> read_module(const std::string &path, std::string *error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    *error = "cannot read module " + path + ": it is a directory";
    return {};
  }
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::vector<std::uint8_t> bytes;
  if (in) {
    std::streamoff size = in.tellg();
    if (size > 0) bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  if (!in) {
    *error = "cannot read module " + path + ": " + std::strerror(errno);
    return {};
  }
  if (bytes.empty()) *error = "module " + path + " is empty";
  return bytes;
}

// Writes the bytes to a private temporary file so the dynamic loader maps
// them afresh even when another copy is still loaded.
std::string private_copy(const std::vector<std::uint8_t> &bytes, std::string *error) {
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

std::unique_ptr<Module> Module::load(const std::string &path, std::string *error) {
  std::vector<std::uint8_t> bytes = read_module(path, error);
  if (bytes.empty()) return nullptr;
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
  auto *linkage = static_cast<GaugeLinkage *>(dlsym(handle, "Linkage"));
  auto *imports = static_cast<GaugeImport *>(dlsym(handle, "ImportTable"));
  if (!linkage || !imports) {
    dlclose(handle);
    *error = "module " + path + " exports no Linkage or ImportTable";
    return nullptr;
  }
  if (linkage->module_id != kModuleId) {
    dlclose(handle);
    *error = "module " + path + " has an unknown module id";
    return nullptr;
  }
  std::unique_ptr<Module> m(new Module);
  m->name_ = std::filesystem::path(path).stem().string();
  m->handle_ = handle;
  m->linkage_ = linkage;
  m->imports_ = imports;
  return m;
}

Module::~Module() {
  if (handle_) dlclose(handle_);
}

std::uint64_t wave_fingerprint(std::span<const std::uint8_t> data) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::uint8_t b : data) h = (h ^ b) * 1099511628211ull;
  return h ^ (static_cast<std::uint64_t>(data.size()) << 32);
}

const std::vector<WaveFingerprint> &Module::wave_fingerprints() {
  if (!wave_fingerprints_) {
    wave_fingerprints_.emplace();
    for (const platform::ResourceEntry &e : platform::resource_directory(handle_)) {
      if (!e.type || std::string(e.type) != "WAVE") continue;
      if (auto wave = platform::parse_wave({e.data, e.size}))
        wave_fingerprints_->push_back({wave_fingerprint(wave->data), static_cast<std::int32_t>(e.id)});
    }
  }
  return *wave_fingerprints_;
}

GaugeHeader *Module::find_gauge(const std::string &name) const {
  for (GaugeHeader *g : linkage_->gauge_header_ptr) {
    if (!g) break;
    if (g->gauge_name && name == g->gauge_name) return g;
  }
  return nullptr;
}

}  // namespace z480
