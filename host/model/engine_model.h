// How the simulator runs the two engines on the start panel's events: the
// starter turns an engine, fuel (cock open, pump on) lights it, and N2
// settles with the power lever; propeller speed, torque, oil pressure and the
// engine-driven hydraulic pump follow N2. Registered with the systems model
// as the "engines" table.
#pragma once

namespace z480 {

// N2 in percent.
inline constexpr double kLightOffN2 = 12.0;     // fuel lights the engine from here while cranking
inline constexpr double kCrankN2 = 25.0;        // the starter alone turns the engine this far
inline constexpr double kSelfSustainN2 = 40.0;  // a lit engine runs on its own from here
inline constexpr double kStarterCutoutN2 = 50.0;
inline constexpr double kIdleN2 = 65.0;
inline constexpr double kMaxN2 = 100.0;
// N2 change, percent per second.
inline constexpr double kStartRate = 5.0;
inline constexpr double kSpoolRate = 10.0;
inline constexpr double kRunDownRate = 5.0;

struct EngineInputs {
  double n2;
  bool starter;
  bool fuel;
  double power_lever;  // fraction, negative in reverse
};

struct EngineStep {
  double n2;
  bool starter;  // still engaged
};

// One frame of an engine. The starter lets go once a lit engine passes
// kStarterCutoutN2, or once it has turned an unlit one to kCrankN2.
EngineStep engine_step(const EngineInputs &in);

struct EngineReadings {
  double prop_rpm;            // fraction of the rated speed
  double torque;              // fraction
  double oil_pressure;        // pounds per square foot
  double hydraulic_pressure;  // pounds per square foot
};
inline constexpr double kRunningOilPressure = 8640.0;          // 60 psi
inline constexpr double kRunningHydraulicPressure = 432000.0;  // 3000 psi

// The readings of an engine at N2 with its propeller lever.
EngineReadings engine_readings(double n2, double prop_lever);

}  // namespace z480
