// Radio_Altimeter_Switch: the radio altimeter's on/off lever. A click plays
// the switch click, then turns the set on or off.
// Reads: no host variables. Sends: no key events.
// Module-wide: writes Radio_Altimeter_On.
#include "frame/declare.h"
#include "gauges/flight/radio_altimeter_state.h"
#include "sound/click.h"

extern GaugeHeader Radio_Altimeter_Switch_Header;

namespace {
constexpr GaugeHeader *kSelf = &Radio_Altimeter_Switch_Header;

ClickSound click;

double FSAPI radio_altimeter_lever(IconElement *) { return Radio_Altimeter_On != 0 ? 1.0 : 0.0; }

std::int32_t FSAPI radio_altimeter_toggle(MouseCallbackRecord *, std::uint32_t) {
  click_play(click);
  Radio_Altimeter_On = Radio_Altimeter_On != 0 ? 0 : 1;
  return 0;
}

void FSAPI radio_altimeter_switch_callback(GaugeHeader *, std::int32_t service, ServiceData extra) {
  click_service(click, service, extra);
}

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 1320, .flags = kImageStandard, .gauge = kSelf});
  IconElement lever = icon({.bitmap = 1330,
                            .flags = kImageStandard,
                            .gauge = kSelf,
                            .callback = radio_altimeter_lever,
                            .images = 2});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::lever> tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_callback({0, 0, 32, 46}, kCursorHand, kMouseLeftSingle, radio_altimeter_toggle),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Radio_Altimeter_Switch_Header =
    gauge_header<&Radio_Altimeter_Switch_Header>({.name = "Radio_Altimeter_Switch",
                  .elements = tree.elements,
                  .size_mm = 30,
                  .mouse = mouse,
                  .callback = radio_altimeter_switch_callback});
