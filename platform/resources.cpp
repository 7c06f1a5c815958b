#include "platform/resources.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace platform {
namespace {

// A handle that is not one of the loaded objects must never reach dlsym: the
// host passes whatever its caller gave as the install data.
bool is_loaded_object(void *handle) {
  if (!handle) return false;
  for (const link_map *m = _r_debug.r_map; m; m = m->l_next)
    if (static_cast<const void *>(m) == handle) return true;
  return false;
}

}  // namespace

std::span<const ResourceEntry> resource_directory(void *module) {
  if (!is_loaded_object(module)) return {};
  const auto *dir = static_cast<const ResourceDirectory *>(dlsym(module, kResourceDirectorySymbol));
  if (!dir || !dir->entries) return {};
  return {dir->entries, dir->count};
}

std::optional<std::span<const std::uint8_t>> find_resource(void *module, const char *type,
                                                           std::uint32_t id) {
  if (!type) return std::nullopt;
  for (const ResourceEntry &e : resource_directory(module))
    if (e.id == id && e.type && std::strcmp(e.type, type) == 0)
      return std::span<const std::uint8_t>(e.data, e.size);
  return std::nullopt;
}

}  // namespace platform
