#include "host/model/airframe_model.h"

#include <algorithm>
#include <iterator>

#include "host/model/model_clock.h"
#include "frame/host_names.h"
#include "host/model/systems_model.h"

namespace z480 {

double flap_notch_step(double lever, int delta) {
  double now = finite_or(lever, 0.0);
  if (delta > 0) {
    auto next = std::upper_bound(std::begin(kFlapNotches), std::end(kFlapNotches), now);
    return next == std::end(kFlapNotches) ? kFlapNotches[std::size(kFlapNotches) - 1] : *next;
  }
  auto next = std::lower_bound(std::begin(kFlapNotches), std::end(kFlapNotches), now);
  return next == std::begin(kFlapNotches) ? kFlapNotches[0] : *std::prev(next);
}

double trim_step(double trim, int delta) {
  return std::clamp(finite_or(trim, 0.0) + delta * kTrimStep, -kTrimStop, kTrimStop);
}

double power_lever_step(double lever, int delta) {
  return std::clamp(finite_or(lever, 0.0) + delta * kPowerLeverStep, kReverseStop, 1.0);
}

double follow_lever(double position, double lever, int travel_frames) {
  double step = kTravelFullScale / std::max(travel_frames, 1);
  return move_toward(finite_or(position, 0.0), finite_or(lever, 0.0), step);
}

namespace {


// Travel times, in frames, from one end to the other.
constexpr std::int32_t kSeconds = Host::kFramesPerSecond;
constexpr std::int32_t kNoseLegTravel = 5 * kSeconds;
constexpr std::int32_t kLeftLegTravel = 6 * kSeconds;
constexpr std::int32_t kRightLegTravel = 6 * kSeconds + kSeconds / 2;
constexpr std::int32_t kFlapTravel = 12 * kSeconds;

void gear_lever(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, rule.arg ? kGearLeverDown : kGearLeverUp);
}

// The step rules carry their direction in step.
void flap_notch(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, flap_notch_step(host.var(rule.token), rule.step));
}
void trim(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, trim_step(host.var(rule.token), rule.step));
}
void power_lever(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, power_lever_step(host.var(rule.token), rule.step));
}

// Every frame: token travels after the lever named in arg, taking step
// frames for the full travel; one standing where its lever is stays
// untouched.
void travel(Host &host, const ModelRule &rule, std::uint32_t) {
  double now = host.var(rule.token);
  double next = follow_lever(now, host.var(rule.arg), rule.step);
  if (next != now) host.set_var(rule.token, next);
}

const ModelRule kAirframeRules[] = {
    // Gear lever: up, down
    {kEventGearUp, gear_lever, kVarGearLever, 0},
    {kEventGearDown, gear_lever, kVarGearLever, 1},
    // Flap lever: one notch up (flaps in), one notch down (flaps out)
    {kEventFlapsUp, flap_notch, kVarFlapLever, 0, -1},
    {kEventFlapsDown, flap_notch, kVarFlapLever, 0, +1},
    // Trim wheel: upper half nose down, lower half nose up
    {kEventElevatorTrimDown, trim, kVarElevatorTrim, 0, -1},
    {kEventElevatorTrimUp, trim, kVarElevatorTrim, 0, +1},
    // Power and propeller levers from their axis values; a power lever's
    // step towards idle and on into reverse
    {kEventEngine1PowerLeverSet, action_set_axis, kVarEngine1PowerLever},
    {kEventEngine2PowerLeverSet, action_set_axis, kVarEngine2PowerLever},
    {kEventEngine1PropLeverSet, action_set_axis, kVarEngine1PropLever},
    {kEventEngine2PropLeverSet, action_set_axis, kVarEngine2PropLever},
    {kEventEngine1PowerLeverIdle, power_lever, kVarEngine1PowerLever, 0, -1},
    {kEventEngine2PowerLeverIdle, power_lever, kVarEngine2PowerLever, 0, -1},
    // The legs and the flaps travel after their levers
    {kEveryFrame, travel, kVarGearNosePosition, kVarGearLever, kNoseLegTravel},
    {kEveryFrame, travel, kVarGearLeftPosition, kVarGearLever, kLeftLegTravel},
    {kEveryFrame, travel, kVarGearRightPosition, kVarGearLever, kRightLegTravel},
    {kEveryFrame, travel, kVarFlapPosition, kVarFlapLever, kFlapTravel},
};

}  // namespace

std::span<const ModelRule> airframe_rules() { return kAirframeRules; }
}  // namespace z480
