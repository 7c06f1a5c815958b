// Fire_Light: the red fire warning lamp. It carries the engine callback like
// the other engine instruments, but its token belongs to no engine, so every
// instance shows the same warning whatever its parameter.
// Reads: kVarEngine1Fire (0 dark, 1 lit), taken as the image index.
// Sends: no key events.
#include "frame/declare.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader Fire_Light_Header;

namespace {
constexpr GaugeHeader *kSelf = &Fire_Light_Header;

struct Parts {
  StaticImageElement dark = static_image({.bitmap = 210, .flags = kImageStandard, .gauge = kSelf});
  IconElement lamp = icon({.bitmap = 210,
                           .flags = kImageBright,
                           .gauge = kSelf,
                           .token = kVarEngine1Fire,
                           .images = 2});
};
constinit DrawOrder<Parts, &Parts::dark, &Parts::lamp> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Fire_Light_Header = gauge_header<&Fire_Light_Header>({.name = "Fire_Light",
                                              .elements = tree.elements,
                                              .size_mm = 40,
                                              .mouse = mouse,
                                              .callback = engine_gauge_callback});
