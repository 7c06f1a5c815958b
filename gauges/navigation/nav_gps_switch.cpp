// NAV_GPS_Switch: a two-position lever choosing whether the navigation
// instruments follow the NAV receivers or the GPS. The lever shows the
// host's state and its rectangle sends the host's toggle; no module code.
// Reads: kVarGpsSource, the navigation source (nonzero: GPS).
// Sends: kEventGpsSourceToggle (sent by the host on a click).
#include "frame/declare.h"
#include "gauges/navigation/navigation_state.h"

extern GaugeHeader NAV_GPS_Switch_Header;

namespace {
constexpr std::int32_t kHelpNavGps = 43853;
constexpr GaugeHeader *kSelf = &NAV_GPS_Switch_Header;

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 260, .flags = kImageStandard, .gauge = kSelf});
  IconElement lever = icon({.bitmap = 270,
                            .flags = kImageStandard,
                            .gauge = kSelf,
                            .token = kVarGpsSource,
                            .images = 2});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::lever> tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpNavGps),
    mouse_event({2, 2, 42, 28}, kCursorHand, kMouseLeftSingle, kEventGpsSourceToggle),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader NAV_GPS_Switch_Header = gauge_header<&NAV_GPS_Switch_Header>(
    {.name = "NAV_GPS_Switch", .elements = tree.elements, .size_mm = 30, .mouse = mouse});
