#include "host/model/yaw_damper.h"

#include <algorithm>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "host/core/host.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

constexpr double kFrame = 1.0 / Host::kFramesPerSecond;
constexpr double kDegreesPerSecondPerTurnRate = 3.0 / 256.0;  // token 70 to degrees a second

double yaw_rate(const Host &host) {
  return finite_or(host.var(kVarTurnRate), 0.0) * kDegreesPerSecondPerTurnRate;
}

// Off, the damper leaves the rudder centred and its steady rate on the
// present one.
void yaw_damper_frame(Host &host, const ModelRule &, std::uint32_t) {
  double rate = yaw_rate(host);
  if (!(host.var(kVarYawDamper) > 0)) {
    host.set_var(kVarYawDamperSteadyRate, rate);
    if (host.var(kVarYawDamperRudder) != 0.0) host.set_var(kVarYawDamperRudder, 0);
    return;
  }
  YawDamperStep step = yaw_damper_step(finite_or(host.var(kVarYawDamperSteadyRate), rate), rate);
  host.set_var(kVarYawDamperSteadyRate, step.steady_rate);
  host.set_var(kVarYawDamperRudder, step.rudder);
}

const ModelRule kYawDamperRules[] = {
    {.event = kEveryFrame, .action = yaw_damper_frame},
};

}  // namespace

YawDamperStep yaw_damper_step(double steady, double rate) {
  steady = finite_or(steady, 0.0);
  rate = finite_or(rate, steady);
  steady += (rate - steady) * std::min(kFrame / kYawDamperWashoutSeconds, 1.0);
  return {steady, held_within(-kYawDamperGain * (rate - steady), kYawDamperLimit)};
}

void start_yaw_damper(Host &host) { host.set_var(kVarYawDamperSteadyRate, yaw_rate(host)); }

std::span<const ModelRule> yaw_damper_rules() { return kYawDamperRules; }

}  // namespace z480
