#include "host/core/module_memory.h"

#include <cstring>

namespace z480 {

const ModuleSegment *ModuleMemory::data_segment(const void *p, std::size_t size) const {
  auto at = reinterpret_cast<std::uintptr_t>(p);
  for (const ModuleSegment &s : segments_)
    if (!s.executable && at >= s.begin && at < s.end && size <= s.end - at) return &s;
  return nullptr;
}

bool ModuleMemory::writable(const void *p, std::size_t size) const {
  const ModuleSegment *s = data_segment(p, size);
  return s && s->writable;
}

bool ModuleMemory::code(std::uintptr_t address) const {
  for (const ModuleSegment &s : segments_)
    if (s.executable && address >= s.begin && address < s.end) return true;
  return false;
}

bool ModuleMemory::text(const char *p, std::size_t max_length) const {
  const ModuleSegment *s = data_segment(p, 1);
  if (!s) return false;
  std::uintptr_t room = s->end - reinterpret_cast<std::uintptr_t>(p);
  std::size_t span = room < max_length + 1 ? static_cast<std::size_t>(room) : max_length + 1;
  return std::memchr(p, '\0', span) != nullptr;
}

}  // namespace z480
