#include "host/core/module.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "host/core/module_check.h"
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

}  // namespace

std::unique_ptr<Module> Module::load(const std::string &path, std::string *error) {
  std::vector<std::uint8_t> bytes = read_module(path, error);
  if (bytes.empty()) return nullptr;
  auto library = LoadedLibrary::open(bytes, path, error);
  if (!library) return nullptr;
  auto *linkage = static_cast<GaugeLinkage *>(library->symbol("Linkage"));
  auto *imports = static_cast<GaugeImport *>(library->symbol("ImportTable"));
  if (!linkage || !imports) {
    *error = "module " + path + " exports no Linkage or ImportTable";
    return nullptr;
  }
  // Everything the host will read or call, checked before any of it is.
  if (std::string lie = module_records_fault(linkage, imports, ModuleMemory(library->segments()));
      !lie.empty()) {
    *error = "module " + path + ": " + lie;
    return nullptr;
  }
  std::unique_ptr<Module> m(new Module);
  m->name_ = std::filesystem::path(path).stem().string();
  m->library_ = std::move(library);
  m->linkage_ = linkage;
  m->imports_ = imports;
  return m;
}

std::uint64_t wave_fingerprint(std::span<const std::uint8_t> data) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::uint8_t b : data) h = (h ^ b) * 1099511628211ull;
  return h ^ (static_cast<std::uint64_t>(data.size()) << 32);
}

const std::vector<WaveFingerprint> &Module::wave_fingerprints() {
  if (!wave_fingerprints_) {
    wave_fingerprints_.emplace();
    for (const platform::ResourceEntry &e : platform::resource_directory(handle())) {
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
