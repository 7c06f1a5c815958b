// Module resources on Windows: the module handle is the base address of a
// loaded PE image, and its resources are found through the resource section.
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/resources.h"

namespace platform {
namespace {

// A handle that is not a loaded image must never reach FindResource: the host
// passes whatever its caller gave as the install data.
HMODULE loaded_module(void *handle) {
  HMODULE found = nullptr;
  if (!handle || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     static_cast<LPCSTR>(handle), &found))
    return nullptr;
  return found == handle ? found : nullptr;
}

std::optional<std::span<const std::uint8_t>> resource_bytes(HMODULE module, HRSRC info) {
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  const void *bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return std::span<const std::uint8_t>(static_cast<const std::uint8_t *>(bytes),
                                       SizeofResource(module, info));
}

// The types the module carries; the platform's own bitmap type is named by
// number, the sounds by their type name.
struct KnownType {
  const char *name;
  LPCSTR windows_type;
};
const KnownType kTypes[] = {{"WAVE", "WAVE"}, {"BITMAP", MAKEINTRESOURCEA(2)}};

struct Listing {
  const char *type;
  std::vector<ResourceEntry> *entries;
};

BOOL CALLBACK list_one(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
  auto *listing = reinterpret_cast<Listing *>(param);
  if (!IS_INTRESOURCE(name)) return TRUE;  // only numbered resources have an id
  auto id = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(name));
  if (auto bytes = resource_bytes(module, FindResourceA(module, name, type)))
    listing->entries->push_back(
        {listing->type, id, bytes->data(), static_cast<std::uint32_t>(bytes->size())});
  return TRUE;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> find_resource(void *handle, const char *type,
                                                           std::uint32_t id) {
  HMODULE module = loaded_module(handle);
  // Resource ids are 16-bit; a larger one would alias a smaller one.
  if (!module || !type || id == 0 || id > 0xFFFF) return std::nullopt;
  for (const KnownType &t : kTypes)
    if (std::strcmp(t.name, type) == 0) type = static_cast<const char *>(t.windows_type);
  return resource_bytes(module, FindResourceA(module, MAKEINTRESOURCEA(id), type));
}

std::span<const ResourceEntry> resource_directory(void *handle) {
  // Listed afresh at every call (a module may be unloaded and another mapped
  // at its address); the entries point into the mapped image.
  static std::vector<ResourceEntry> entries;
  entries.clear();
  HMODULE module = loaded_module(handle);
  if (!module) return {};
  for (const KnownType &t : kTypes) {
    Listing listing{t.name, &entries};
    EnumResourceNamesA(module, t.windows_type, list_one, reinterpret_cast<LONG_PTR>(&listing));
  }
  return entries;
}

}  // namespace platform
