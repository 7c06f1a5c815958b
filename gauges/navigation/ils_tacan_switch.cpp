// ILS_TACAN_Switch: a two-position lever choosing the receiver the homing
// indicator's distance window follows: left NAV 1, right NAV 2. Installing
// the lever always returns it to NAV 1. It clicks.
// Reads: no host variables. Sends: no key events.
// Module-wide: writes Dme_Source_Nav1.
#include "frame/declare.h"
#include "gauges/navigation/navigation_state.h"
#include "sound/click.h"

extern GaugeHeader ILS_TACAN_Switch_Header;

namespace {
constexpr GaugeHeader *kSelf = &ILS_TACAN_Switch_Header;

ClickSound click;

double FSAPI ils_tacan_lever(IconElement *) { return Dme_Source_Nav1 == 1 ? 0.0 : 1.0; }

std::int32_t FSAPI ils_tacan_toggle(MouseCallbackRecord *, std::uint32_t) {
  Dme_Source_Nav1 = 1 - Dme_Source_Nav1;
  click_play(click);
  return 0;
}

void FSAPI ils_tacan_callback(GaugeHeader *, std::int32_t service, ServiceData extra) {
  switch (service) {
    case kServiceInstall:
      Dme_Source_Nav1 = 1;
      click_install(click, extra);
      break;
    case kServiceKill:
      click_kill(click);
      break;
    default:
      break;
  }
}

FailureRecord lever_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionZero),
    kFailuresEnd,
};

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 280, .flags = kImageStandard, .gauge = kSelf});
  IconElement lever = icon({.bitmap = 290,
                            .flags = kImageStandard,
                            .failures = lever_failures,
                            .gauge = kSelf,
                            .callback = ils_tacan_lever,
                            .images = 2});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::lever> tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_callback({2, 2, 42, 28}, kCursorHand, kMouseLeftSingle, ils_tacan_toggle),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader ILS_TACAN_Switch_Header = gauge_header<&ILS_TACAN_Switch_Header>({.name = "ILS_TACAN_Switch",
                                                    .elements = tree.elements,
                                                    .size_mm = 30,
                                                    .mouse = mouse,
                                                    .callback = ils_tacan_callback});
