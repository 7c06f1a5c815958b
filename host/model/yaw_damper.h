// The yaw damper: while it is engaged it works the rudder against the yaw
// rate's swings (the Dutch roll), not against a steady turn's rate, which it
// washes out. The rudder it asks for is kVarYawDamperRudder, which the
// flight model adds to the pilot's own.
#pragma once

#include <span>

namespace z480 {

class Host;
struct ModelRule;

// Rudder (full travel 1) per degree a second of yaw rate off the steady
// one, up to the damper's authority; and the seconds in which the steady
// rate follows the yaw rate.
inline constexpr double kYawDamperGain = 0.08;
inline constexpr double kYawDamperLimit = 0.3;
inline constexpr double kYawDamperWashoutSeconds = 2.0;

struct YawDamperStep {
  double steady_rate;  // degrees a second
  double rudder;       // positive yaws right
};
// One frame of the damper at a yaw rate (degrees a second, right positive).
YawDamperStep yaw_damper_step(double steady_rate, double yaw_rate);

// Engaging: the present yaw rate counts as the steady one, so the damper
// kicks nothing.
void start_yaw_damper(Host &host);

std::span<const ModelRule> yaw_damper_rules();

}  // namespace z480
