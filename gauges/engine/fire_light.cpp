// Fire_Light: the red fire warning lamp. It carries the engine callback like
// the other engine instruments, but its token belongs to no engine, so every
// instance shows the same warning whatever its parameter.
// Reads: token 887, fire warning (0 dark, 1 lit), taken as the image index.
// Sends: no key events.
#include "frame/declare.h"
#include "gauges/engine/engine_gauge_callback.h"

extern GaugeHeader Fire_Light_Header;

namespace {
constexpr std::int32_t kFireWarning = 887;
constexpr GaugeHeader *kSelf = &Fire_Light_Header;

extern GaugeElement *dark_next[];

StaticImageElement dark =
    static_image({.bitmap = 210, .flags = 0x3, .next = dark_next, .gauge = kSelf});
IconElement lamp =
    icon({.bitmap = 210, .flags = 0x7, .gauge = kSelf, .token = kFireWarning, .images = 2});

GaugeElement *dark_next[] = {el(lamp), nullptr};
GaugeElement *elements[] = {el(dark), nullptr};

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Fire_Light_Header = gauge_header({.name = "Fire_Light",
                                              .elements = elements,
                                              .size_mm = 40,
                                              .mouse = mouse,
                                              .callback = engine_gauge_callback});
