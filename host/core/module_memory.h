// Where a pointer from a module may point: the module's own mapped segments
// (host/core/module_loader.h), data into segments that hold no code, code
// into segments that do. Nothing is read but a text's bytes, and only once
// the text's start lies inside the module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/core/module_loader.h"

namespace z480 {

class ModuleMemory {
 public:
  explicit ModuleMemory(std::vector<ModuleSegment> segments) : segments_(std::move(segments)) {}

  // Whether [p, p + size) lies wholly inside one segment that holds no code.
  bool data(const void *p, std::size_t size) const { return data_segment(p, size) != nullptr; }
  // The same, in a segment the host may write.
  bool writable(const void *p, std::size_t size) const;
  // Whether the address lies inside a segment that holds code.
  bool code(std::uintptr_t address) const;
  // Whether a NUL ends the text within max_length characters, all inside
  // one segment that holds no code.
  bool text(const char *p, std::size_t max_length) const;

  template <typename T>
  bool records(const T *p, std::size_t count = 1) const {
    return count <= SIZE_MAX / sizeof(T) && data(p, count * sizeof(T));
  }

 private:
  const ModuleSegment *data_segment(const void *p, std::size_t size) const;
  std::vector<ModuleSegment> segments_;
};

}  // namespace z480
