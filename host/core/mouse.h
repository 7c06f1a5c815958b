// How the host reads a gauge's mouse list: parent groups open and close,
// child boxes are relative to their open parent, and a parent box of
// 0,0,0,0 covers the whole gauge.
#pragma once

#include <cstdint>
#include <vector>

#include "frame/panel.h"

namespace z480 {

struct MouseHit {
  MouseRect *rect = nullptr;  // the child rectangle that fires, or null
  PixPoint origin{};          // its top-left corner in background pixels
};

// The first child rectangle whose box holds the point and whose flags share a
// bit with the event's flags.
MouseHit find_mouse_target(MouseRect *list, PixPoint point, std::uint32_t flags);

// The help id of the innermost parent holding the point that has one (0 for none).
std::int32_t help_at(const MouseRect *list, PixPoint point);

// The tooltip record (type 4) of the innermost parent holding the point that has one.
const MouseRect *tooltip_at(const MouseRect *list, PixPoint point);

// A child rectangle as a page lays it over the gauge: its box in background
// pixels, its cursor and the mouse flags it answers to, in list order.
struct MouseTarget {
  PixBox box;
  std::int32_t cursor;
  std::uint32_t flags;
};
std::vector<MouseTarget> mouse_targets(const MouseRect *list);

// Mouse lists are read to their end record, but never further than this.
inline constexpr int kMaxMouseRecords = 4096;

}  // namespace z480
