#include "host/model/airframe_model.h"

#include <algorithm>
#include <iterator>

#include "host/model/autopilot_modes.h"
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

// The step rules carry their direction in step.
void flap_notch(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, flap_notch_step(host.var(rule.token), rule.step));
}
// While the autopilot holds the attitude the wheel's clicks move the
// attitude it holds (host/model/flight_director.h), not the trim.
void trim(Host &host, const ModelRule &rule, std::uint32_t) {
  if (autopilot_holds_attitude(host)) return;
  host.set_var(rule.token, trim_step(host.var(rule.token), rule.step));
}
void power_lever(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, power_lever_step(host.var(rule.token), rule.step));
}

// Every frame: token travels after the lever it follows; one standing where
// its lever is stays untouched.
void travel(Host &host, const ModelRule &rule, std::uint32_t) {
  double now = host.var(rule.token);
  double next = follow_lever(now, host.var(rule.follows), rule.travel_frames);
  if (next != now) host.set_var(rule.token, next);
}

const ModelRule kAirframeRules[] = {
    // Gear lever: up, down
    {.event = kEventGearUp, .action = action_set, .token = kVarGearLever, .set_to = kGearLeverUp},
    {.event = kEventGearDown, .action = action_set, .token = kVarGearLever, .set_to = kGearLeverDown},
    // Flap lever: one notch up (flaps in), one notch down (flaps out)
    {.event = kEventFlapsUp, .action = flap_notch, .token = kVarFlapLever, .step = -1},
    {.event = kEventFlapsDown, .action = flap_notch, .token = kVarFlapLever, .step = +1},
    // Trim wheel: upper half nose down, lower half nose up
    {.event = kEventElevatorTrimDown, .action = trim, .token = kVarElevatorTrim, .step = -1},
    {.event = kEventElevatorTrimUp, .action = trim, .token = kVarElevatorTrim, .step = +1},
    // Power and propeller levers from their axis values; a power lever's
    // step towards idle and on into reverse
    {.event = kEventEngine1PowerLeverSet, .action = action_set_axis, .token = kVarEngine1PowerLever},
    {.event = kEventEngine2PowerLeverSet, .action = action_set_axis, .token = kVarEngine2PowerLever},
    {.event = kEventEngine1PropLeverSet, .action = action_set_axis, .token = kVarEngine1PropLever},
    {.event = kEventEngine2PropLeverSet, .action = action_set_axis, .token = kVarEngine2PropLever},
    {.event = kEventEngine1PowerLeverIdle, .action = power_lever, .token = kVarEngine1PowerLever, .step = -1},
    {.event = kEventEngine2PowerLeverIdle, .action = power_lever, .token = kVarEngine2PowerLever, .step = -1},
};

// What the flight model answers itself when it flies.
const ModelRule kAirframeTravelRules[] = {
    // The legs and the flaps travel after their levers
    {.event = kEveryFrame, .action = travel, .token = kVarGearNosePosition,
     .follows = kVarGearLever, .travel_frames = kNoseLegTravel},
    {.event = kEveryFrame, .action = travel, .token = kVarGearLeftPosition,
     .follows = kVarGearLever, .travel_frames = kLeftLegTravel},
    {.event = kEveryFrame, .action = travel, .token = kVarGearRightPosition,
     .follows = kVarGearLever, .travel_frames = kRightLegTravel},
    {.event = kEveryFrame, .action = travel, .token = kVarFlapPosition,
     .follows = kVarFlapLever, .travel_frames = kFlapTravel},
};

}  // namespace

std::span<const ModelRule> airframe_rules() { return kAirframeRules; }
std::span<const ModelRule> airframe_travel_rules() { return kAirframeTravelRules; }
}  // namespace z480
