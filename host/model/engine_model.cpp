#include "host/model/engine_model.h"

#include <algorithm>
#include <cmath>

#include "host/model/model_clock.h"
#include "frame/host_names.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

// The propeller's speed with its lever at the bottom, and the torque at idle.
constexpr double kLowestPropRpm = 0.6;
constexpr double kIdleTorque = 0.1;

double running_n2(double power_lever) {
  return kIdleN2 +
         (kMaxN2 - kIdleN2) * std::clamp(std::fabs(finite_or(power_lever, 0.0)), 0.0, 1.0);
}

// Where N2 is heading, how fast, and where the starter lets go.
struct Spool {
  double target;
  double rate;
  double starter_cutout;
};

Spool spool(const EngineInputs &in, double n2) {
  bool lit = in.fuel && (n2 >= kSelfSustainN2 || (in.starter && n2 >= kLightOffN2));
  if (lit)
    return {running_n2(in.power_lever), in.starter ? kStartRate : kSpoolRate, kStarterCutoutN2};
  if (in.starter) return {kCrankN2, kStartRate, kCrankN2};
  return {0.0, kRunDownRate, 0.0};
}

}  // namespace

EngineStep engine_step(const EngineInputs &in) {
  double n2 = std::clamp(finite_or(in.n2, 0.0), 0.0, kMaxN2);
  Spool s = spool(in, n2);
  double next = move_toward(n2, s.target, s.rate / Host::kFramesPerSecond);
  return {next, in.starter && next < s.starter_cutout};
}

EngineReadings engine_readings(double n2, double prop_lever) {
  double turning = std::clamp(finite_or(n2, 0.0) / kIdleN2, 0.0, 1.0);
  double power = std::clamp((finite_or(n2, 0.0) - kIdleN2) / (kMaxN2 - kIdleN2), 0.0, 1.0);
  double prop = std::clamp(finite_or(prop_lever, 0.0), 0.0, 1.0);
  return {turning * (kLowestPropRpm + (1.0 - kLowestPropRpm) * prop),
          turning * kIdleTorque + power * (1.0 - kIdleTorque), turning * kRunningOilPressure,
          turning * kRunningHydraulicPressure};
}

namespace {

constexpr double kStarterPowered = 20.0;  // main bus volts the starter needs

struct EngineTokens {
  std::int32_t n2, starter, fuel_cock, fuel_pump, power_lever, prop_lever;
  std::int32_t prop_rpm, torque, oil_pressure, hydraulic_pressure;
};
constexpr EngineTokens kEngine1 = {
    kVarEngine1N2, kVarEngine1Starter, kVarEngine1FuelCock, kVarEngine1FuelPump,
    kVarEngine1PowerLever, kVarEngine1PropLever, kVarEngine1PropRpm, kVarEngine1Torque,
    kVarEngine1OilPressure, kVarHydraulic1Pressure};
constexpr EngineTokens kEngine2 = {
    kVarEngine2N2, kVarEngine2Starter, kVarEngine2FuelCock, kVarEngine2FuelPump,
    kVarEngine2PowerLever, kVarEngine2PropLever, kVarEngine2PropRpm, kVarEngine2Torque,
    kVarEngine2OilPressure, kVarHydraulic2Pressure};

template <const EngineTokens &E>
void engage_starter(Host &host, const ModelRule &, std::uint32_t) {
  if (host.var(kVarMainBusVoltage) > kStarterPowered) host.set_var(E.starter, 1.0);
}

// Every frame. An engine at rest with its starter off is left alone, so a
// script may still set its readings by hand.
template <const EngineTokens &E>
void run_engine(Host &host, const ModelRule &, std::uint32_t) {
  EngineInputs in{host.var(E.n2), host.var(E.starter) == 1.0,
                  host.var(E.fuel_cock) > 0.0 && host.var(E.fuel_pump) > 0.0,
                  host.var(E.power_lever)};
  EngineStep step = engine_step(in);
  if (in.n2 == 0.0 && step.n2 == 0.0 && !in.starter) return;
  EngineReadings r = engine_readings(step.n2, host.var(E.prop_lever));
  host.set_var(E.n2, step.n2);
  host.set_var(E.starter, step.starter ? 1.0 : 0.0);
  host.set_var(E.prop_rpm, r.prop_rpm);
  host.set_var(E.torque, r.torque);
  host.set_var(E.oil_pressure, r.oil_pressure);
  host.set_var(E.hydraulic_pressure, r.hydraulic_pressure);
}

const ModelRule kEngineRules[] = {
    // Start buttons, engine 1 and 2
    {.event = kEventEngine1Starter, .action = engage_starter<kEngine1>},
    {.event = kEventEngine2Starter, .action = engage_starter<kEngine2>},
    // Fuel cocks, and the fuel pumps set from the event's value
    {.event = kEventEngine1FuelCockToggle, .action = action_toggle, .token = kEngine1.fuel_cock},
    {.event = kEventEngine2FuelCockToggle, .action = action_toggle, .token = kEngine2.fuel_cock},
    {.event = kEventEngine1FuelPumpSet, .action = action_set_axis, .token = kEngine1.fuel_pump},
    {.event = kEventEngine2FuelPumpSet, .action = action_set_axis, .token = kEngine2.fuel_pump},
};

// The engines' spooling, where no flight model runs them.
const ModelRule kEngineSpoolRules[] = {
    {.event = kEveryFrame, .action = run_engine<kEngine1>},
    {.event = kEveryFrame, .action = run_engine<kEngine2>},
};

}  // namespace

std::span<const ModelRule> engine_rules() { return kEngineRules; }
std::span<const ModelRule> engine_spool_rules() { return kEngineSpoolRules; }
}  // namespace z480
