// Resources carried inside a module's own file, found by type and numeric id
// through the module's instance handle (the handle the host passes with the
// install service). On this machine a module exports one resource directory
// under kResourceDirectorySymbol, generated at build time from resources/;
// a Windows build finds the same resources with FindResource.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace platform {

struct ResourceEntry {
  const char *type;  // "WAVE", "BITMAP"
  std::uint32_t id;
  const std::uint8_t *data;
  std::uint32_t size;
};

struct ResourceDirectory {
  std::uint32_t count;
  const ResourceEntry *entries;
};

inline constexpr const char kResourceDirectorySymbol[] = "Z480_Resources";

// The bytes of the resource, or nothing when the handle is no loaded module
// or the module has no such resource.
std::optional<std::span<const std::uint8_t>> find_resource(void *module, const char *type,
                                                           std::uint32_t id);
// Every resource of the module (empty when it carries none).
std::span<const ResourceEntry> resource_directory(void *module);

}  // namespace platform
