// Voltmeter_Switch: the five-position selector of the AC voltmeter's source.
// A click on the right half turns it one position up, on the left half one
// down; it wraps around at both ends (4 up gives 0, 0 down gives 4). Unlike
// the other switches it clicks before it moves.
// Reads no host variables, sends no key events.
// Module-wide: writes and shows Voltmeter_Selector.
#include "gauges/electrical/electrical_state.h"
#include "gauges/electrical/switch_gauge.h"

extern GaugeHeader Voltmeter_Switch_Header;

namespace {
constexpr GaugeHeader *kSelf = &Voltmeter_Switch_Header;
constexpr int kPositions = 5;

ClickSound click{};

// Wraps any stored position, also one outside 0 to 4, back onto the dial.
int selector_moved(int position, int step) {
  int p = position % kPositions;
  if (p < 0) p += kPositions;
  return (p + step + kPositions) % kPositions;
}

void FSAPI voltmeter_switch_service(GaugeHeader *, std::int32_t code, ServiceData extra) {
  click_service(click, code, extra);
}

template <int Step>
std::int32_t FSAPI turn_selector(MouseCallbackRecord *, std::uint32_t) {
  click_play(click);
  Voltmeter_Selector = selector_moved(Voltmeter_Selector, Step);
  return 0;
}

double FSAPI selector_position(IconElement *) { return Voltmeter_Selector; }

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 6000, .flags = kImageStandard, .gauge = kSelf});
  IconElement selector = icon({.bitmap = 6010,
                               .flags = kImageStandard,
                               .gauge = kSelf,
                               .callback = selector_position,
                               .images = kPositions});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::selector> tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_callback({0, 0, 34, 68}, kCursorDownArrow, kMouseLeftSingle, turn_selector<-1>),
    mouse_callback({34, 0, 34, 68}, kCursorUpArrow, kMouseLeftSingle, turn_selector<+1>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Voltmeter_Switch_Header = gauge_header<&Voltmeter_Switch_Header>({.name = "Voltmeter_Switch",
                                                    .elements = tree.elements,
                                                    .size_mm = 30,
                                                    .mouse = mouse,
                                                    .callback = voltmeter_switch_service});
