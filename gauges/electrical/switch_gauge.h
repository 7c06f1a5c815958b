// The two-position switch of the electrical and lighting panel: a
// background, an icon with the off and on images, one click rectangle in one
// parent group, and the click sound. The battery, light, alternator and
// converter switches are all this design and differ only in their row of
// data: a click changes the module variable first (if any), then sends the
// key event (if any), then clicks.
#pragma once

#include "frame/declare.h"
#include "frame/services.h"
#include "sound/click.h"

// The switch's pictures and where it takes clicks.
struct SwitchLook {
  std::int32_t background;
  std::int32_t icon;  // the off image; the on image follows it
  PixBox box;
};
inline constexpr SwitchLook kLeverSwitch = {5400, 5410, {3, 3, 41, 64}};

// The action of a switch that only sends its key event.
inline void no_action() {}

struct SwitchKind {
  const char *name = nullptr;
  GaugeHeader *self = nullptr;
  std::uint32_t size_mm = 0;
  SwitchLook look = kLeverSwitch;
  std::int32_t token = 0;             // the icon's host variable, 0 for none
  IconCallback icon_value = nullptr;  // null: the icon shows the token as it is
  void (*action)() = no_action;       // the module-variable change
  std::int32_t event = 0;             // the key event sent (value 0), 0 for none
  std::int32_t help_id = 0;           // of the parent group, 0 for none
};

// A switch position kept in a module-wide variable.
template <int &Position>
void toggle_position() {
  Position = Position != 0 ? 0 : 1;
}
template <int &Position>
double FSAPI show_position(IconElement *) {
  return Position != 0 ? 1.0 : 0.0;
}

// The records and statics of one switch kind.
template <const SwitchKind &Kind>
struct SwitchGauge {
  static inline ClickSound click{};

  static void FSAPI service(GaugeHeader *, std::int32_t code, ServiceData extra) {
    click_service(click, code, extra);
  }
  static std::int32_t FSAPI clicked(MouseCallbackRecord *, std::uint32_t) {
    Kind.action();
    if constexpr (Kind.event != 0) trigger_key_event(Kind.event);
    click_play(click);
    return 0;
  }

  struct Parts {
    StaticImageElement background =
        static_image({.bitmap = Kind.look.background, .flags = kImageStandard, .gauge = Kind.self});
    IconElement position = icon({.bitmap = Kind.look.icon,
                                 .flags = kImageStandard,
                                 .gauge = Kind.self,
                                 .token = Kind.token,
                                 .callback = Kind.icon_value,
                                 .images = 2});
  };
  static constinit inline DrawOrder<Parts, &Parts::background, &Parts::position> tree{};
  static constinit inline MouseRect mouse[] = {
      mouse_parent({0, 0, 0, 0}, Kind.help_id),
      mouse_callback(Kind.look.box, kCursorHand, kMouseLeftSingle, clicked),
      mouse_end_parent(),
      mouse_end(),
  };

  static constexpr GaugeHeader header() {
    return gauge_header<Kind.self>({.name = Kind.name,
                         .elements = tree.elements,
                         .size_mm = Kind.size_mm,
                         .mouse = mouse,
                         .callback = service});
  }
};
