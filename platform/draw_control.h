// The host's side of the drawing layer: how many native objects are alive
// (every pen, brush, family, font, path, graphics, allocation and live
// start), a switch that makes the next call that can fail fail, and one
// that makes the next allocation throw.
#pragma once

#include <cstddef>

namespace platform::draw_control {

std::size_t live_objects();

// The next creation, start or allocation fails (out of memory).
void fail_next_call();
// The next growth of one of the layer's caches or lists throws
// std::bad_alloc, as an allocation that runs out of memory does.
void throw_next_allocation();

}  // namespace platform::draw_control
