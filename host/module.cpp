#include "host/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace z480 {
namespace {

// Copies the module to a private temporary file so the dynamic loader maps
// it afresh even when another copy is still loaded.
std::string private_copy(const std::string &path, std::string *error) {
  std::error_code ec;
  auto dir = std::filesystem::temp_directory_path(ec);
  if (ec) dir = "/tmp";
  std::string pattern = (dir / "z480-module-XXXXXX").string();
  int fd = mkstemp(pattern.data());
  if (fd < 0) {
    *error = "cannot create a temporary copy of the module: " + std::string(std::strerror(errno));
    return {};
  }
  close(fd);
  std::filesystem::copy_file(path, pattern, std::filesystem::copy_options::overwrite_existing,
                             ec);
  if (ec) {
    std::filesystem::remove(pattern);
    *error = "cannot read module " + path + ": " + ec.message();
    return {};
  }
  return pattern;
}

}  // namespace

std::unique_ptr<Module> Module::load(const std::string &path, std::string *error) {
  std::string copy = private_copy(path, error);
  if (copy.empty()) return nullptr;
  void *handle = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  std::filesystem::remove(copy);  // the mapping stays valid
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

GaugeHeader *Module::find_gauge(const std::string &name) const {
  for (GaugeHeader *g : linkage_->gauge_header_ptr) {
    if (!g) break;
    if (g->gauge_name && name == g->gauge_name) return g;
  }
  return nullptr;
}

}  // namespace z480
