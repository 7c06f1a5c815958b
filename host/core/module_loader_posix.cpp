#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
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

// Takes a read-only range (what the loader protects once it has relocated)
// out of the writable segments it overlaps.
void protect(std::vector<ModuleSegment> &segments, ModuleSegment range) {
  std::vector<ModuleSegment> out;
  for (const ModuleSegment &s : segments) {
    if (!s.writable || s.end <= range.begin || range.end <= s.begin) {
      out.push_back(s);
      continue;
    }
    std::uintptr_t from = std::max(s.begin, range.begin), to = std::min(s.end, range.end);
    if (s.begin < from) out.push_back({s.begin, from, s.executable, true});
    out.push_back({from, to, s.executable, false});
    if (to < s.end) out.push_back({to, s.end, s.executable, true});
  }
  segments = std::move(out);
}

struct SegmentSearch {
  const link_map *map;
  std::vector<ModuleSegment> segments;
};

// The loaded segments of the object the search names, from its program headers.
int collect_segments(dl_phdr_info *info, std::size_t, void *data) {
  auto *search = static_cast<SegmentSearch *>(data);
  const link_map *map = search->map;
  if (info->dlpi_addr != map->l_addr || !info->dlpi_name || !map->l_name ||
      std::strcmp(info->dlpi_name, map->l_name) != 0)
    return 0;
  std::vector<ModuleSegment> read_only;
  for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr) &p = info->dlpi_phdr[i];
    ModuleSegment s{info->dlpi_addr + p.p_vaddr, info->dlpi_addr + p.p_vaddr + p.p_memsz,
                    (p.p_flags & PF_X) != 0, (p.p_flags & PF_W) != 0};
    if (p.p_type == PT_LOAD && p.p_memsz > 0) search->segments.push_back(s);
    if (p.p_type == PT_GNU_RELRO) read_only.push_back(s);
  }
  for (const ModuleSegment &r : read_only) protect(search->segments, r);
  return 1;
}

std::vector<ModuleSegment> segments_of(void *handle) {
  SegmentSearch search{nullptr, {}};
  link_map *map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return {};
  search.map = map;
  dl_iterate_phdr(collect_segments, &search);
  return search.segments;
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
  // No segments found leaves nothing a pointer may point at: the module is
  // refused, never trusted.
  return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(handle, {}, segments_of(handle)));
}

LoadedLibrary::~LoadedLibrary() { dlclose(handle_); }

void *LoadedLibrary::symbol(const char *name) const { return dlsym(handle_, name); }

}  // namespace z480
