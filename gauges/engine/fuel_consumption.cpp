// Fuel_Consumption_Left / Fuel_Consumption_Right: pounds of fuel used by one
// engine since the last reset, on four rolling digit drums, with a reset
// button. The counter integrates the fuel flow over simulated time while the
// DC bus is powered.
// Reads: token 604, simulation time in seconds; token 638 (left) / 657
// (right), fuel flow in pounds per hour; token 753, DC voltage.
// Sends: no key events.
// Gauge-kind statics: Fuel_Used_Left, Fuel_Used_Right, Fuel_Time_Prev_Left,
// Fuel_Time_Prev_Right.
#include <cmath>

#include "frame/declare.h"
#include "frame/odometer.h"
#include "frame/services.h"

extern GaugeHeader Fuel_Consumption_Left_Header;
extern GaugeHeader Fuel_Consumption_Right_Header;

namespace {
constexpr std::int32_t kSimulationTime = 604;
constexpr std::int32_t kDcVoltage = 753;
constexpr double kPoweredVolts = 20.0;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kRollSpan = 0.1;  // every drum turns in the last 0.1 lb of its place
constexpr std::int32_t kHelpFuelUsed = 43583;

double Fuel_Used_Left = 0.0;
double Fuel_Used_Right = 0.0;
double Fuel_Time_Prev_Left = 0.0;
double Fuel_Time_Prev_Right = 0.0;

struct CounterSide {
  GaugeHeader *self;
  std::int32_t flow;  // token, pounds per hour
  double *used, *time_prev;
};
constexpr CounterSide kSides[] = {
    {&Fuel_Consumption_Left_Header, 638, &Fuel_Used_Left, &Fuel_Time_Prev_Left},
    {&Fuel_Consumption_Right_Header, 657, &Fuel_Used_Right, &Fuel_Time_Prev_Right},
};
enum : int { kLeft, kRight };

// Fuel burnt between two updates. Time that runs backwards (a reloaded
// flight) or readings that are not numbers add nothing, so the count never
// falls or turns into garbage.
double fuel_burnt(double seconds, double pounds_per_hour) {
  double pounds = seconds * pounds_per_hour / kSecondsPerHour;
  return std::isfinite(pounds) && pounds > 0.0 ? pounds : 0.0;
}

void integrate(const CounterSide &s) {
  double t = read_var(kSimulationTime);
  double flow = read_var(s.flow);
  double volts = read_var(kDcVoltage);
  // Unpowered time is lost, not caught up later.
  if (volts > kPoweredVolts) *s.used += fuel_burnt(t - *s.time_prev, flow);
  *s.time_prev = t;
}

template <int S>
void FSAPI fuel_used_callback(GaugeHeader *, std::int32_t service, ServiceData) {
  const CounterSide &s = kSides[S];
  if (service == kServiceInstall) *s.time_prev = read_var(kSimulationTime);
  if (service == kServicePreUpdate) integrate(s);
}

template <int S>
std::int32_t FSAPI fuel_used_reset(MouseCallbackRecord *, std::uint32_t) {
  *kSides[S].used = 0.0;
  return 0;
}

template <int S>
double FSAPI fuel_used_drum(MovingImageElement *e) {
  return odometer_drum(*e, *kSides[S].used);
}

template <int S>
struct Counter {
  static constexpr const CounterSide &side = kSides[S];
  static StaticImageElement face;
  static MovingImageElement units, tens, hundreds, thousands;
  static IconElement window;
  static GaugeElement *face_next[], *units_next[], *tens_next[], *hundreds_next[],
      *thousands_next[], *elements[];
  static MouseRect mouse[];

  // A drum of place value D: it rolls over ten digits, 0 up to 10 D.
  static constexpr MovingImageElement drum(std::int32_t x, double place, GaugeElement **next) {
    return moving_image({.bitmap = 2310,
                         .pos = {x, 42},
                         .flags = 0x4083,
                         .next = next,
                         .gauge = side.self,
                         .x = drum_places(place, kRollSpan),
                         .y = drum_range(10.0 * place),
                         .y_callback = fuel_used_drum<S>});
  }
};

template <int S>
StaticImageElement Counter<S>::face =
    static_image({.bitmap = 2300, .flags = 0x3, .next = face_next, .gauge = side.self});
template <int S>
MovingImageElement Counter<S>::units = drum(202, 1, units_next);
template <int S>
MovingImageElement Counter<S>::tens = drum(158, 10, tens_next);
template <int S>
MovingImageElement Counter<S>::hundreds = drum(114, 100, hundreds_next);
template <int S>
MovingImageElement Counter<S>::thousands = drum(70, 1000, thousands_next);
// The window frame over the drums: always its one image.
template <int S>
IconElement Counter<S>::window =
    icon({.bitmap = 2320, .pos = {61, 42}, .flags = 0x4003, .gauge = side.self});

template <int S>
GaugeElement *Counter<S>::face_next[] = {el(units), nullptr};
template <int S>
GaugeElement *Counter<S>::units_next[] = {el(tens), nullptr};
template <int S>
GaugeElement *Counter<S>::tens_next[] = {el(hundreds), nullptr};
template <int S>
GaugeElement *Counter<S>::hundreds_next[] = {el(thousands), nullptr};
template <int S>
GaugeElement *Counter<S>::thousands_next[] = {el(window), nullptr};
template <int S>
GaugeElement *Counter<S>::elements[] = {el(face), nullptr};

template <int S>
MouseRect Counter<S>::mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpFuelUsed),
    mouse_callback({135, 146, 34, 34}, kCursorHand, kMouseLeftSingle, fuel_used_reset<S>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Fuel_Consumption_Left_Header = gauge_header({.name = "Fuel_Consumption_Left",
                                                         .elements = Counter<kLeft>::elements,
                                                         .size_mm = 70,
                                                         .mouse = Counter<kLeft>::mouse,
                                                         .callback = fuel_used_callback<kLeft>});
GaugeHeader Fuel_Consumption_Right_Header = gauge_header({.name = "Fuel_Consumption_Right",
                                                          .elements = Counter<kRight>::elements,
                                                          .size_mm = 70,
                                                          .mouse = Counter<kRight>::mouse,
                                                          .callback = fuel_used_callback<kRight>});
