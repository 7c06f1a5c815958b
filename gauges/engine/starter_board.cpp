// Starter_Board: the engine start panel. Per engine: two fuel-pump switches
// that move together, a start selector (start / stop / ventilation), a start
// push-button, a green start-ready lamp, a red starter lamp and a fuel-cock
// switch under a flip guard. The green lamp decides whether a start is
// permitted (fuel cock open, power lever in the start window, bus powered,
// N2 low); only then does the start button engage the starter.
// Reads (engine 1 / engine 2): kVarEngine1N2 / kVarEngine2N2 in percent;
// kVarEngine1PowerLever / 2; kVarEngine1FuelCock / 2 (0 closed);
// kVarEngine1FuelPump / 2; kVarEngine1Starter / 2 (1.0 engaged);
// kVarMainBusVoltage.
// Sends: kEventEngine1Starter / 2; kEventEngine1FuelCockToggle / 2;
// kEventEngine1FuelPumpSet / 2 with 16384, fuel pump on.
// Module-wide variables: none; the switch positions below are this gauge
// kind's own.
#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "sound/click.h"

extern GaugeHeader Starter_Board_Header;

namespace {
constexpr double kPoweredVolts = 20.0;
constexpr double kStartWindowLow = 0.2;  // power lever position for a start
constexpr double kStartWindowHigh = 0.3;
constexpr double kStartN2Limit = 20.0;  // N2 at or below this grants a start
constexpr double kStartedN2 = 45.0;     // N2 above this withdraws it
constexpr double kStarterEngaged = 1.0;
constexpr std::uint32_t kPumpOnValue = 16384;
constexpr double kLit = 0.0;
constexpr double kDark = -1.0;
constexpr GaugeHeader *kSelf = &Starter_Board_Header;

enum Selector : int { kSelectorStop = 0, kSelectorVentilation = 1, kSelectorStart = 2 };

int Start_Selector_Left = kSelectorStop;
int Start_Selector_Right = kSelectorStop;
int Start_Select_Left = 0;
int Start_Select_Right = 0;
int Start_Permitted_Left = 0;
int Start_Permitted_Right = 0;
int Fuel_Guard_Left_Open = 0;
int Fuel_Guard_Right_Open = 0;
int Pumps_Left_On = 0;
int Pumps_Right_On = 0;

ClickSound starter_click;

// One engine's controls: host ids and the switch positions it keeps.
struct StartSide {
  std::int32_t n2, lever, fuel_cock, pump_state, starter;
  std::int32_t start_event, fuel_cock_event, pump_event;
  int *selector, *select, *permitted, *guard_open, *pumps_on;
};

constexpr StartSide kSides[] = {
    {kVarEngine1N2, kVarEngine1PowerLever, kVarEngine1FuelCock, kVarEngine1FuelPump,
     kVarEngine1Starter, kEventEngine1Starter, kEventEngine1FuelCockToggle,
     kEventEngine1FuelPumpSet, &Start_Selector_Left, &Start_Select_Left, &Start_Permitted_Left,
     &Fuel_Guard_Left_Open, &Pumps_Left_On},
    {kVarEngine2N2, kVarEngine2PowerLever, kVarEngine2FuelCock, kVarEngine2FuelPump,
     kVarEngine2Starter, kEventEngine2Starter, kEventEngine2FuelCockToggle,
     kEventEngine2FuelPumpSet, &Start_Selector_Right, &Start_Select_Right, &Start_Permitted_Right,
     &Fuel_Guard_Right_Open, &Pumps_Right_On},
};
enum : int { kLeft, kRight };

bool bus_powered() { return bus_above(read_var(kVarMainBusVoltage), kPoweredVolts); }

// The green lamp's tests, in order; each may grant or withdraw the start.
double evaluate_start_ready(const StartSide &s, double n2) {
  double fuel_cock = read_var(s.fuel_cock);
  if (fuel_cock == 0.0 || *s.select == 0) {
    *s.permitted = 0;
    return kDark;
  }
  if (n2 > kStartedN2) {
    *s.permitted = 0;
    return kDark;
  }
  // Between the two limits the engine is starting: a given permission holds.
  // A missing N2 reading grants nothing either.
  if (!(n2 <= kStartN2Limit)) return kDark;
  double lever = read_var(s.lever);
  bool lever_in_window = lever >= kStartWindowLow && lever <= kStartWindowHigh;
  if (!(fuel_cock > 0.0) || !lever_in_window || !bus_powered()) return kDark;
  *s.permitted = 1;
  return kLit;
}

bool move_selector(const StartSide &s, Selector to) {
  if (*s.selector == to) return false;
  *s.selector = to;
  *s.select = to == kSelectorStart ? 1 : 0;
  return true;
}

template <int S>
double FSAPI start_ready_lamp(IconElement *e) {
  return evaluate_start_ready(kSides[S], e->source_var.var_value.n);
}

template <int S>
double FSAPI starter_lamp(IconElement *) {
  const StartSide &s = kSides[S];
  bool engaged = read_var(s.starter) == kStarterEngaged;
  return engaged && *s.permitted != 0 && bus_powered() ? kLit : kDark;
}

// The pump switches and the fuel-cock lever show their on state as 2.
template <int S>
double FSAPI pump_switch(IconElement *) {
  return *kSides[S].pumps_on ? 2.0 : 0.0;
}
double FSAPI fuel_cock_lever(IconElement *e) {
  return e->source_var.var_value.n == 0.0 ? 0.0 : 2.0;
}
template <int S>
double FSAPI fuel_guard(IconElement *) {
  return *kSides[S].guard_open;
}
template <int S>
double FSAPI start_selector(IconElement *) {
  return *kSides[S].selector;
}

// The starter engages only with a permission and a powered bus; the button
// sends on every call it receives and makes no sound.
template <int S>
std::int32_t FSAPI start_button(MouseCallbackRecord *, std::uint32_t) {
  const StartSide &s = kSides[S];
  bool powered = bus_powered();
  if (*s.permitted == 1 && powered) trigger_key_event(s.start_event);
  return 0;
}

template <int S>
std::int32_t FSAPI selector_to_start(MouseCallbackRecord *, std::uint32_t) {
  if (move_selector(kSides[S], kSelectorStart)) click_play(starter_click);
  return 0;
}
template <int S>
std::int32_t FSAPI selector_to_stop(MouseCallbackRecord *, std::uint32_t) {
  if (move_selector(kSides[S], kSelectorStop)) click_play(starter_click);
  return 0;
}
template <int S>
std::int32_t FSAPI selector_to_ventilation(MouseCallbackRecord *, std::uint32_t) {
  if (move_selector(kSides[S], kSelectorVentilation)) click_play(starter_click);
  return 0;
}

// The guard flips silently; the switch under it works only while it is open.
template <int S>
std::int32_t FSAPI fuel_guard_open(MouseCallbackRecord *, std::uint32_t) {
  *kSides[S].guard_open = 1;
  return 0;
}
template <int S>
std::int32_t FSAPI fuel_guard_close(MouseCallbackRecord *, std::uint32_t) {
  *kSides[S].guard_open = 0;
  return 0;
}
template <int S>
std::int32_t FSAPI fuel_cock_toggle(MouseCallbackRecord *, std::uint32_t) {
  const StartSide &s = kSides[S];
  if (*s.guard_open != 1) return 0;
  trigger_key_event(s.fuel_cock_event);
  click_play(starter_click);
  return 0;
}

// Switching the pumps on also starts the host's pump when it is off; the
// host's pump is left running when they are switched off.
template <int S>
std::int32_t FSAPI pumps_on(MouseCallbackRecord *, std::uint32_t) {
  const StartSide &s = kSides[S];
  if (*s.pumps_on != 0) return 0;
  *s.pumps_on = 1;
  if (read_var(s.pump_state) == 0.0) trigger_key_event(s.pump_event, kPumpOnValue);
  click_play(starter_click);
  return 0;
}
template <int S>
std::int32_t FSAPI pumps_off(MouseCallbackRecord *, std::uint32_t) {
  const StartSide &s = kSides[S];
  if (*s.pumps_on != 1) return 0;
  *s.pumps_on = 0;
  click_play(starter_click);
  return 0;
}
}  // namespace

void FSAPI starter_board_callback(GaugeHeader *, std::int32_t service, ServiceData extra) {
  click_service(starter_click, service, extra);
}

namespace {
constexpr std::int32_t kHelpFuelCock = 43815;
constexpr std::int32_t kHelpStartLeft = 43875;
constexpr std::int32_t kHelpStartRight = 43876;


// The pump icons name the host's pump variables but show the module's own
// switch positions.
struct Parts {
  StaticImageElement board =
      static_image({.bitmap = 4310, .flags = kImageStandard, .gauge = kSelf});
  IconElement pump_aft_right = icon({.bitmap = 4380,
                                     .pos = {294, 102},
                                     .flags = kImageStandard,
                                     .gauge = kSelf,
                                     .token = kVarFuelPumpsRight,
                                     .callback = pump_switch<kRight>,
                                     .images = 2});
  IconElement pump_fore_right = icon({.bitmap = 4380,
                                      .pos = {294, 28},
                                      .flags = kImageStandard,
                                      .gauge = kSelf,
                                      .token = kVarFuelPumpsRight,
                                      .callback = pump_switch<kRight>,
                                      .images = 2});
  IconElement pump_aft_left = icon({.bitmap = 4380,
                                    .pos = {30, 102},
                                    .flags = kImageStandard,
                                    .gauge = kSelf,
                                    .token = kVarFuelPumpsLeft,
                                    .callback = pump_switch<kLeft>,
                                    .images = 2});
  IconElement pump_fore_left = icon({.bitmap = 4380,
                                     .pos = {30, 28},
                                     .flags = kImageStandard,
                                     .gauge = kSelf,
                                     .token = kVarFuelPumpsLeft,
                                     .callback = pump_switch<kLeft>,
                                     .images = 2});
  IconElement cock_right = icon({.bitmap = 4370,
                                 .pos = {252, 137},
                                 .flags = kImageStandard,
                                 .gauge = kSelf,
                                 .token = kSides[kRight].fuel_cock,
                                 .callback = fuel_cock_lever,
                                 .images = 2});
  IconElement cock_left = icon({.bitmap = 4370,
                                .pos = {72, 137},
                                .flags = kImageStandard,
                                .gauge = kSelf,
                                .token = kSides[kLeft].fuel_cock,
                                .callback = fuel_cock_lever,
                                .images = 2});
  // The guards are drawn over the levers.
  IconElement guard_right = icon({.bitmap = 4350,
                                  .pos = {252, 137},
                                  .flags = kImageStandard,
                                  .gauge = kSelf,
                                  .callback = fuel_guard<kRight>,
                                  .images = 2});
  IconElement guard_left = icon({.bitmap = 4350,
                                 .pos = {72, 137},
                                 .flags = kImageStandard,
                                 .gauge = kSelf,
                                 .callback = fuel_guard<kLeft>,
                                 .images = 2});
  IconElement selector_right = icon({.bitmap = 4320,
                                     .pos = {194, 22},
                                     .flags = kImageStandard,
                                     .gauge = kSelf,
                                     .callback = start_selector<kRight>,
                                     .images = 3});
  IconElement selector_left = icon({.bitmap = 4320,
                                    .pos = {127, 22},
                                    .flags = kImageStandard,
                                    .gauge = kSelf,
                                    .callback = start_selector<kLeft>,
                                    .images = 3});
  IconElement ready_right = icon({.bitmap = 4330,
                                  .pos = {188, 90},
                                  .flags = kImageBright,
                                  .gauge = kSelf,
                                  .token = kSides[kRight].n2,
                                  .callback = start_ready_lamp<kRight>});
  IconElement starter_right = icon({.bitmap = 4340,
                                    .pos = {228, 90},
                                    .flags = kImageBright,
                                    .gauge = kSelf,
                                    .token = kSides[kRight].n2,
                                    .callback = starter_lamp<kRight>});
  IconElement ready_left = icon({.bitmap = 4330,
                                 .pos = {149, 90},
                                 .flags = kImageBright,
                                 .gauge = kSelf,
                                 .token = kSides[kLeft].n2,
                                 .callback = start_ready_lamp<kLeft>});
  IconElement starter_left = icon({.bitmap = 4340,
                                   .pos = {109, 90},
                                   .flags = kImageBright,
                                   .gauge = kSelf,
                                   .token = kSides[kLeft].n2,
                                   .callback = starter_lamp<kLeft>});
  IconElement button_right = icon({.bitmap = 4360,
                                   .pos = {239, 30},
                                   .flags = kImageStandard,
                                   .gauge = kSelf,
                                   .token = kSides[kRight].starter,
                                   .images = 2});
  IconElement button_left = icon({.bitmap = 4360,
                                  .pos = {88, 30},
                                  .flags = kImageStandard,
                                  .gauge = kSelf,
                                  .token = kSides[kLeft].starter,
                                  .images = 2});
};
constinit DrawOrder<Parts, &Parts::board, &Parts::pump_aft_right, &Parts::pump_fore_right, &Parts::pump_aft_left, &Parts::pump_fore_left, &Parts::cock_right, &Parts::cock_left, &Parts::guard_right, &Parts::guard_left, &Parts::selector_right, &Parts::selector_left, &Parts::ready_right, &Parts::starter_right, &Parts::ready_left, &Parts::starter_left, &Parts::button_right, &Parts::button_left> tree;


constexpr std::uint32_t kLeftClick = kMouseLeftSingle;
constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_parent({72, 157, 34, 28}, kHelpFuelCock),
    mouse_callback({0, 0, 34, 28}, kCursorHand, kLeftClick, fuel_cock_toggle<kLeft>),
    mouse_end_parent(),
    mouse_parent({252, 157, 34, 28}, kHelpFuelCock),
    mouse_callback({0, 0, 34, 28}, kCursorHand, kLeftClick, fuel_cock_toggle<kRight>),
    mouse_end_parent(),
    mouse_parent({88, 30, 32, 32}, kHelpStartLeft),
    mouse_callback({0, 0, 32, 32}, kCursorHand, kLeftRepeat, start_button<kLeft>),
    mouse_end_parent(),
    mouse_parent({239, 30, 32, 32}, kHelpStartRight),
    mouse_callback({0, 0, 32, 32}, kCursorHand, kLeftRepeat, start_button<kRight>),
    mouse_end_parent(),
    mouse_callback({127, 22, 39, 17}, kCursorHand, kLeftClick, selector_to_start<kLeft>),
    mouse_callback({127, 39, 39, 17}, kCursorHand, kLeftClick, selector_to_stop<kLeft>),
    mouse_callback({127, 56, 39, 17}, kCursorHand, kLeftClick, selector_to_ventilation<kLeft>),
    mouse_callback({194, 22, 39, 17}, kCursorHand, kLeftClick, selector_to_start<kRight>),
    mouse_callback({194, 39, 39, 17}, kCursorHand, kLeftClick, selector_to_stop<kRight>),
    mouse_callback({194, 56, 39, 17}, kCursorHand, kLeftClick, selector_to_ventilation<kRight>),
    mouse_callback({72, 137, 34, 20}, kCursorHand, kLeftClick, fuel_guard_close<kLeft>),
    mouse_callback({72, 185, 34, 20}, kCursorHand, kLeftClick, fuel_guard_open<kLeft>),
    mouse_callback({252, 137, 34, 20}, kCursorHand, kLeftClick, fuel_guard_close<kRight>),
    mouse_callback({252, 185, 34, 20}, kCursorHand, kLeftClick, fuel_guard_open<kRight>),
    mouse_callback({30, 28, 35, 17}, kCursorUpArrow, kLeftClick, pumps_on<kLeft>),
    mouse_callback({30, 102, 35, 17}, kCursorUpArrow, kLeftClick, pumps_on<kLeft>),
    mouse_callback({30, 45, 35, 17}, kCursorDownArrow, kLeftClick, pumps_off<kLeft>),
    mouse_callback({30, 119, 35, 17}, kCursorDownArrow, kLeftClick, pumps_off<kLeft>),
    mouse_callback({294, 28, 35, 17}, kCursorUpArrow, kLeftClick, pumps_on<kRight>),
    mouse_callback({294, 102, 35, 17}, kCursorUpArrow, kLeftClick, pumps_on<kRight>),
    mouse_callback({294, 45, 35, 17}, kCursorDownArrow, kLeftClick, pumps_off<kRight>),
    mouse_callback({294, 119, 35, 17}, kCursorDownArrow, kLeftClick, pumps_off<kRight>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Starter_Board_Header = gauge_header<&Starter_Board_Header>({.name = "Starter_Board",
                                                 .elements = tree.elements,
                                                 .size_mm = 150,
                                                 .mouse = mouse,
                                                 .callback = starter_board_callback});
