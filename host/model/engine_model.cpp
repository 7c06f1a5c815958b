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
constexpr EngineTokens kEngines[] = {
    {kVarEngine1N2, kVarEngine1Starter, kVarEngine1FuelCock, kVarEngine1FuelPump,
     kVarEngine1PowerLever, kVarEngine1PropLever, kVarEngine1PropRpm, kVarEngine1Torque,
     kVarEngine1OilPressure, kVarHydraulic1Pressure},
    {kVarEngine2N2, kVarEngine2Starter, kVarEngine2FuelCock, kVarEngine2FuelPump,
     kVarEngine2PowerLever, kVarEngine2PropLever, kVarEngine2PropRpm, kVarEngine2Torque,
     kVarEngine2OilPressure, kVarHydraulic2Pressure},
};

// The starter rules carry the engine in arg.
void engage_starter(Host &host, const ModelRule &rule, std::uint32_t) {
  if (host.var(kVarMainBusVoltage) > kStarterPowered) host.set_var(kEngines[rule.arg].starter, 1.0);
}

// Every frame, for the engine in arg. An engine at rest with its starter off
// is left alone, so a script may still set its readings by hand.
void run_engine(Host &host, const ModelRule &rule, std::uint32_t) {
  const EngineTokens &t = kEngines[rule.arg];
  EngineInputs in{host.var(t.n2), host.var(t.starter) == 1.0,
                  host.var(t.fuel_cock) > 0.0 && host.var(t.fuel_pump) > 0.0,
                  host.var(t.power_lever)};
  EngineStep step = engine_step(in);
  if (in.n2 == 0.0 && step.n2 == 0.0 && !in.starter) return;
  EngineReadings r = engine_readings(step.n2, host.var(t.prop_lever));
  host.set_var(t.n2, step.n2);
  host.set_var(t.starter, step.starter ? 1.0 : 0.0);
  host.set_var(t.prop_rpm, r.prop_rpm);
  host.set_var(t.torque, r.torque);
  host.set_var(t.oil_pressure, r.oil_pressure);
  host.set_var(t.hydraulic_pressure, r.hydraulic_pressure);
}

const ModelRule kEngineRules[] = {
    // Start buttons, engine 1 and 2
    {kEventEngine1Starter, engage_starter, 0, 0},
    {kEventEngine2Starter, engage_starter, 0, 1},
    // Fuel cocks, and the fuel pumps set from the event's value
    {kEventEngine1FuelCockToggle, action_toggle, kEngines[0].fuel_cock},
    {kEventEngine2FuelCockToggle, action_toggle, kEngines[1].fuel_cock},
    {kEventEngine1FuelPumpSet, action_set_axis, kEngines[0].fuel_pump},
    {kEventEngine2FuelPumpSet, action_set_axis, kEngines[1].fuel_pump},
    {kEveryFrame, run_engine, 0, 0},
    {kEveryFrame, run_engine, 0, 1},
};

}  // namespace

std::span<const ModelRule> engine_rules() { return kEngineRules; }
}  // namespace z480
