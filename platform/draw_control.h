// The host's side of the drawing layer: how many native objects are alive
// (every pen, brush, family, font, path, graphics, allocation and live
// start), and a switch that makes the next call that can fail fail.
#pragma once

#include <cstddef>

namespace platform::draw_control {

std::size_t live_objects();

// The next creation, start or allocation fails (out of memory).
void fail_next_call();

}  // namespace platform::draw_control
