// What the radio heads' frequency windows share: digits drawn on drums that
// glow while their receiver is powered and stay drawn, unlit, when it is off.
#pragma once

#include <cmath>
#include <cstdint>

#include "frame/panel.h"

// Sets the luminous flag while powered, clears it otherwise, and clears the
// host's on-screen mark so the element is drawn again on every pass.
inline void light_display(GaugeElement &e, bool powered) {
  auto flags = static_cast<std::uint32_t>(e.image_flags);
  flags = powered ? (flags | kImageUseLuminous) : (flags & ~kImageUseLuminous);
  e.image_flags = static_cast<std::int32_t>(flags & ~kImageOnScreen);
}

// The decimal digit of value at place (1, 10, 100 or 1000).
inline double decimal_digit(double value, double place) {
  double ten = 10.0 * place;
  return std::floor((value - ten * std::floor(value / ten)) / place);
}
