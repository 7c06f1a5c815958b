// Throttle_Levers: the throttle quadrant. Two power levers, repeated on both
// sides of the quadrant, two propeller levers and the four-notch flap lever
// (0, DEC, APP, ATT). The pilot drags a lever to where it should stand (a
// strip between a pair moves both); a right click near idle sends the idle
// event; the flap lever steps one notch per click.
// Reads: kVarEngine1PowerLever / 2 (negative in reverse);
// kVarEngine1PropLever / 2; kVarFlapLever (0 to about 16383).
// Sends: kEventEngine1PowerLeverSet / 2, kEventEngine1PowerLeverIdle / 2,
// kEventEngine1PropLeverSet / 2, the set events with 16384 x the lever
// position; kEventFlapsUp one notch up, kEventFlapsDown one notch down.
// Gauge-kind statics: Flap_Lever_Notch.
#include "gauges/airframe/throttle_levers.h"

#include <limits>

#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"

extern GaugeHeader Throttle_Levers_Header;

namespace {
constexpr double kFullScale = 16384.0;
constexpr double kNearIdle = 0.05;
constexpr int kTopNotch = 3;
constexpr GaugeHeader *kSelf = &Throttle_Levers_Header;

int Flap_Lever_Notch = 0;

struct Engine {
  std::int32_t power_token, propeller_token;
  std::int32_t power_event, idle_event, propeller_event;
};
constexpr Engine kEngines[] = {
    {kVarEngine1PowerLever, kVarEngine1PropLever, kEventEngine1PowerLeverSet,
     kEventEngine1PowerLeverIdle, kEventEngine1PropLeverSet},
    {kVarEngine2PowerLever, kVarEngine2PropLever, kEventEngine2PowerLeverSet,
     kEventEngine2PowerLeverIdle, kEventEngine2PropLeverSet},
};

// Host flag bits the power levers answer to.
constexpr std::uint32_t kDrag = kMouseLeftDrag;
constexpr std::uint32_t kRightClick = kMouseRightSingle;

double clicked_fraction(const MouseCallbackRecord *click) {
  if (!click || !click->mouse) return 0.0;
  return lever_fraction(click->relative_point.y, click->mouse->relative_box.size_y);
}

std::uint32_t lever_value(double fraction) { return to_event_value(kFullScale * fraction); }

// A lever in reverse is dragged to idle, not to the clicked place.
std::int32_t move_power_lever(const Engine &e, const MouseCallbackRecord *click,
                              std::uint32_t flags) {
  double f = clicked_fraction(click);
  double lever = read_var(e.power_token);
  if (flags & kDrag) {
    if (lever < 0.0) f = 0.0;
    trigger_key_event(e.power_event, lever_value(f));
  }
  if ((flags & kRightClick) && lever <= kNearIdle) trigger_key_event(e.idle_event);
  return 0;
}

std::int32_t move_propeller_lever(const Engine &e, const MouseCallbackRecord *click) {
  trigger_key_event(e.propeller_event, lever_value(clicked_fraction(click)));
  return 0;
}

// The notch bands, tested in order, each overriding the one before; between
// the bands the lever keeps its last notch so the picture does not flicker
// while the flaps travel. The top band starts just above its low bound, so a
// lever at exactly 16300 is still between bands.
struct NotchBand {
  double low, high;  // inclusive, unless the band starts above low
  int notch;
  bool above_low = false;
  constexpr bool holds(double v) const { return (above_low ? v > low : v >= low) && v <= high; }
};
constexpr double kBelowAll = -std::numeric_limits<double>::infinity();
constexpr double kAboveAll = std::numeric_limits<double>::infinity();
constexpr NotchBand kNotchBands[] = {{kBelowAll, 100.0, 0},
                                     {5350.0, 5550.0, 1},
                                     {10800.0, 11000.0, 2},
                                     {16300.0, kAboveAll, 3, true}};
}  // namespace

double lever_fraction(std::int32_t y, std::int32_t h) {
  if (h <= 0) return 0.0;
  double f = 1.0 - static_cast<double>(y) / h;
  if (f < 0.0) return 0.0;
  return f > 1.0 ? 1.0 : f;
}

std::int32_t FSAPI power_lever_1(MouseCallbackRecord *click, std::uint32_t flags) {
  return move_power_lever(kEngines[0], click, flags);
}
std::int32_t FSAPI power_lever_2(MouseCallbackRecord *click, std::uint32_t flags) {
  return move_power_lever(kEngines[1], click, flags);
}
// The strip between a pair: both levers to one place, only when dragged.
std::int32_t FSAPI power_levers_both(MouseCallbackRecord *click, std::uint32_t flags) {
  double f = clicked_fraction(click);
  double lever1 = read_var(kEngines[0].power_token);
  double lever2 = read_var(kEngines[1].power_token);
  if (!(flags & kDrag)) return 0;
  if (lever1 < 0.0 || lever2 < 0.0) f = 0.0;
  for (const Engine &e : kEngines) trigger_key_event(e.power_event, lever_value(f));
  return 0;
}

std::int32_t FSAPI prop_lever_1(MouseCallbackRecord *click, std::uint32_t) {
  return move_propeller_lever(kEngines[0], click);
}
std::int32_t FSAPI prop_lever_2(MouseCallbackRecord *click, std::uint32_t) {
  return move_propeller_lever(kEngines[1], click);
}
std::int32_t FSAPI prop_levers_both(MouseCallbackRecord *click, std::uint32_t) {
  for (const Engine &e : kEngines) move_propeller_lever(e, click);
  return 0;
}

// The lever picture stays at idle while the host reports reverse.
double FSAPI power_lever_position(SliderElement *e) {
  double v = e->source_var_y.var_value.n;
  return v < 0.0 ? 0.0 : v;
}

double FSAPI flap_lever_notch(IconElement *e) {
  double v = e->source_var.var_value.n;
  for (const NotchBand &b : kNotchBands)
    if (b.holds(v)) Flap_Lever_Notch = b.notch;
  return Flap_Lever_Notch;
}

std::int32_t FSAPI flap_lever_up(MouseCallbackRecord *, std::uint32_t) {
  if (Flap_Lever_Notch > 0) {
    --Flap_Lever_Notch;
    trigger_key_event(kEventFlapsUp);
  }
  return 0;
}
std::int32_t FSAPI flap_lever_down(MouseCallbackRecord *, std::uint32_t) {
  if (Flap_Lever_Notch < kTopNotch) {
    ++Flap_Lever_Notch;
    trigger_key_event(kEventFlapsDown);
  }
  return 0;
}

namespace {
constexpr std::int32_t kHelpPowerLevers = 43886;
constexpr std::int32_t kHelpPropellerLevers = 44292;
constexpr std::int32_t kHelpFlapLever = 43813;
constexpr double kPropellerTravel = -134.0;  // pixels from idle to full
constexpr double kPowerTravel = -156.0;

// A lever moves up from idle by its travel times its position.
constexpr SliderElement lever(std::int32_t bitmap, PixPoint pos, std::int32_t token, double travel,
                              SliderCallback callback) {
  return slider({.bitmap = bitmap,
                 .pos = pos,
                 .flags = kImageStandard,
                 .gauge = kSelf,
                 .x = {.scale = 1.0},
                 .y = {.token = token, .scale = travel},
                 .y_callback = callback});
}
constexpr SliderElement propeller_lever(std::int32_t bitmap, PixPoint pos, const Engine &e) {
  return lever(bitmap, pos, e.propeller_token, kPropellerTravel, nullptr);
}
constexpr SliderElement power_lever(std::int32_t bitmap, PixPoint pos, const Engine &e) {
  return lever(bitmap, pos, e.power_token, kPowerTravel, power_lever_position);
}

struct Parts {
  StaticImageElement quadrant =
      static_image({.bitmap = 4160, .flags = kImageStandard, .gauge = kSelf});
  SliderElement propeller2 = propeller_lever(4210, {157, 142}, kEngines[1]);
  SliderElement propeller1 = propeller_lever(4210, {115, 142}, kEngines[0]);
  SliderElement power2_right = power_lever(4200, {352, 158}, kEngines[1]);
  SliderElement power1_right = power_lever(4190, {306, 158}, kEngines[0]);
  SliderElement power2_left = power_lever(4180, {66, 158}, kEngines[1]);
  SliderElement power1_left = power_lever(4170, {20, 158}, kEngines[0]);
  IconElement flap_lever = icon({.bitmap = 4220,
                                 .pos = {218, 82},
                                 .flags = kImageStandard,
                                 .gauge = kSelf,
                                 .token = kVarFlapLever,
                                 .callback = flap_lever_notch,
                                 .images = 4});
};
constinit DrawOrder<Parts, &Parts::quadrant, &Parts::propeller2, &Parts::propeller1,
                    &Parts::power2_right, &Parts::power1_right, &Parts::power2_left,
                    &Parts::power1_left, &Parts::flap_lever>
    tree;

constexpr std::uint32_t kPowerFlags =
    kMouseLeftSingle | kMouseRightSingle | kMouseLeftDrag | kMouseDownRepeat;
constexpr std::uint32_t kPropellerFlags = kMouseLeftSingle | kMouseLeftDrag;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_parent({20, 2, 85, 199}, kHelpPowerLevers),
    mouse_end_parent(),
    mouse_parent({306, 2, 85, 199}, kHelpPowerLevers),
    mouse_end_parent(),
    mouse_parent({115, 8, 68, 188}, kHelpPropellerLevers),
    mouse_end_parent(),
    mouse_parent({218, 82, 32, 88}, kHelpFlapLever),
    mouse_end_parent(),
    mouse_callback({20, 2, 39, 199}, kCursorHand, kPowerFlags, power_lever_1),
    mouse_callback({66, 2, 39, 199}, kCursorHand, kPowerFlags, power_lever_2),
    mouse_callback({59, 2, 7, 199}, kCursorHand, kPowerFlags, power_levers_both),
    mouse_callback({306, 2, 39, 199}, kCursorHand, kPowerFlags, power_lever_1),
    mouse_callback({352, 2, 39, 199}, kCursorHand, kPowerFlags, power_lever_2),
    mouse_callback({345, 2, 7, 199}, kCursorHand, kPowerFlags, power_levers_both),
    mouse_callback({115, 8, 26, 188}, kCursorHand, kPropellerFlags, prop_lever_1),
    mouse_callback({141, 8, 16, 188}, kCursorHand, kPropellerFlags, prop_levers_both),
    mouse_callback({157, 8, 26, 188}, kCursorHand, kPropellerFlags, prop_lever_2),
    mouse_callback({218, 82, 32, 44}, kCursorUpArrow, kMouseLeftSingle, flap_lever_up),
    mouse_callback({218, 126, 32, 44}, kCursorDownArrow, kMouseLeftSingle, flap_lever_down),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Throttle_Levers_Header =
    gauge_header<&Throttle_Levers_Header>({.name = "Throttle_Levers", .elements = tree.elements, .size_mm = 100, .mouse = mouse});
