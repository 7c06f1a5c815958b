// Fuel_Consumption_Left / Fuel_Consumption_Right: pounds of fuel used by one
// engine since the last reset, on four rolling digit drums, with a reset
// button. The counter integrates the fuel flow over simulated time while the
// DC bus is powered.
// Reads: kVarSimulationTime in seconds; kVarEngine1FuelFlow (left) /
// kVarEngine2FuelFlow (right) in pounds per hour; kVarDcVoltage.
// Sends: no key events.
// Gauge-kind statics: Fuel_Used_Left, Fuel_Used_Right, Fuel_Time_Prev_Left,
// Fuel_Time_Prev_Right.
#include <cmath>

#include "frame/declare.h"
#include "frame/numeric.h"
#include "frame/odometer.h"
#include "frame/services.h"

extern GaugeHeader Fuel_Consumption_Left_Header;
extern GaugeHeader Fuel_Consumption_Right_Header;

namespace {
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
    {&Fuel_Consumption_Left_Header, kVarEngine1FuelFlow, &Fuel_Used_Left, &Fuel_Time_Prev_Left},
    {&Fuel_Consumption_Right_Header, kVarEngine2FuelFlow, &Fuel_Used_Right, &Fuel_Time_Prev_Right},
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
  double t = read_var(kVarSimulationTime);
  double flow = read_var(s.flow);
  double volts = read_var(kVarDcVoltage);
  // Unpowered time is lost, not caught up later.
  if (bus_above(volts, kPoweredVolts)) *s.used += fuel_burnt(t - *s.time_prev, flow);
  *s.time_prev = t;
}

template <int S>
void FSAPI fuel_used_callback(GaugeHeader *, std::int32_t service, ServiceData) {
  const CounterSide &s = kSides[S];
  if (service == kServiceInstall) *s.time_prev = read_var(kVarSimulationTime);
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
  static MouseRect mouse[];

  // A drum of place value D: it rolls over ten digits, 0 up to 10 D.
  static constexpr MovingImageElement counter_drum(std::int32_t x, double place) {
    return drum({.bitmap = 2310,
                 .pos = {x, 42},
                 .gauge = side.self,
                 .place = place,
                 .span = kRollSpan,
                 .range = 10.0 * place,
                 .callback = fuel_used_drum<S>});
  }
  struct Parts {
    StaticImageElement face =
        static_image({.bitmap = 2300, .flags = kImageStandard, .gauge = side.self});
    MovingImageElement units = counter_drum(202, 1);
    MovingImageElement tens = counter_drum(158, 10);
    MovingImageElement hundreds = counter_drum(114, 100);
    MovingImageElement thousands = counter_drum(70, 1000);
    // The window frame over the drums: always its one image.
    IconElement window = icon({.bitmap = 2320, .pos = {61, 42}, .flags = kImageLit, .gauge = side.self});
  };
  static constinit inline DrawOrder<Parts, &Parts::face, &Parts::units, &Parts::tens,
                                    &Parts::hundreds, &Parts::thousands, &Parts::window>
      tree{};
};

template <int S>
MouseRect Counter<S>::mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpFuelUsed),
    mouse_callback({135, 146, 34, 34}, kCursorHand, kMouseLeftSingle, fuel_used_reset<S>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Fuel_Consumption_Left_Header = gauge_header<&Fuel_Consumption_Left_Header>({.name = "Fuel_Consumption_Left",
                                                         .elements = Counter<kLeft>::tree.elements,
                                                         .size_mm = 70,
                                                         .mouse = Counter<kLeft>::mouse,
                                                         .callback = fuel_used_callback<kLeft>});
GaugeHeader Fuel_Consumption_Right_Header = gauge_header<&Fuel_Consumption_Right_Header>({.name = "Fuel_Consumption_Right",
                                                          .elements = Counter<kRight>::tree.elements,
                                                          .size_mm = 70,
                                                          .mouse = Counter<kRight>::mouse,
                                                          .callback = fuel_used_callback<kRight>});
