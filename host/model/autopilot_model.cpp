#include "host/model/autopilot_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "frame/host_names.h"
#include "host/model/airframe_model.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// What a command turns the aircraft in one frame: the surface deflects by
// the signed value, 1 at full scale, and no further than its stops.
double per_frame(std::uint32_t value, double rate) {
  double deflection = std::clamp(static_cast<std::int32_t>(value) / kAxisFullScale, -1.0, 1.0);
  return deflection * rate / Host::kFramesPerSecond;
}

}  // namespace

double pitch_after_elevator(double pitch, std::uint32_t value) {
  return std::clamp(finite_or(pitch, 0.0) + per_frame(value, kElevatorPitchRate), -kPitchStop,
                    kPitchStop);
}

double bank_after_aileron(double bank, std::uint32_t value) {
  double next = finite_or(bank, 0.0) + per_frame(value, kAileronRollRate);
  // One command turns less than a degree, so one wrap brings it round.
  if (next > 180.0) next -= 360.0;
  if (next < -180.0) next += 360.0;
  return next;
}

double trim_for_command(std::uint32_t value) {
  double degrees = static_cast<std::int32_t>(value) / kAxisFullScale * kTrimCommandDegrees;
  return std::clamp(degrees * kRadiansPerDegree, -kTrimStop, kTrimStop);
}

double reference_bars_step(double position, int delta) {
  return std::clamp(finite_or(position, 0.0) + delta * kReferenceBarsStep, -kReferenceBarsStop,
                    kReferenceBarsStop);
}

namespace {

void pitch(Host &host, const ModelRule &rule, std::uint32_t value) {
  host.set_var(rule.token, pitch_after_elevator(host.var(rule.token), value));
}
void roll(Host &host, const ModelRule &rule, std::uint32_t value) {
  host.set_var(rule.token, bank_after_aileron(host.var(rule.token), value));
}
void trim(Host &host, const ModelRule &rule, std::uint32_t value) {
  host.set_var(rule.token, trim_for_command(value));
}
void reference_bars(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, reference_bars_step(host.var(rule.token), rule.step));
}

// Every frame: the glideslope mode is on while an armed approach receives a
// glideslope.
void glideslope_capture(Host &host, const ModelRule &rule, std::uint32_t) {
  bool captured =
      host.var(kVarAutopilotApproachHold) != 0.0 && host.var(kVarNav1GlideslopeReceived) != 0.0;
  double want = captured ? 1.0 : 0.0;
  if (host.var(rule.token) != want) host.set_var(rule.token, want);
}

const ModelRule kAutopilotRules[] = {
    // The selector's buttons toggle the modes their lamps show
    {.event = kEventAutopilotMasterToggle, .action = action_toggle, .token = kVarAutopilotMaster},
    {.event = kEventAutopilotAttitudeHoldToggle, .action = action_toggle, .token = kVarAutopilotAttitudeHold},
    {.event = kEventAutopilotApproachHoldToggle, .action = action_toggle, .token = kVarAutopilotApproachHold},
    {.event = kEventAutopilotHeadingHoldToggle, .action = action_toggle, .token = kVarAutopilotHeadingHold},
    {.event = kEventAutopilotAltitudeHoldToggle, .action = action_toggle, .token = kVarAutopilotAltitudeHold},
    {.event = kEventAutopilotWingLevelerToggle, .action = action_toggle, .token = kVarAutopilotWingLeveler},
    {.event = kEventAutopilotBackCourseHoldToggle, .action = action_toggle,
     .token = kVarAutopilotBackCourseHold},
    {.event = kEventAutopilotNav1HoldToggle, .action = action_toggle, .token = kVarAutopilotNav1Hold},
    {.event = kEventYawDamperToggle, .action = action_toggle, .token = kVarYawDamper},
    {.event = kEventAutopilotAirspeedHoldToggle, .action = action_toggle, .token = kVarAutopilotAirspeedHold},
    {.event = kEventAutopilotGoAroundToggle, .action = action_toggle, .token = kVarAutopilotGoAround},
    // The switches the module's laws send: the localizer rides on the NAV
    // hold, the glideslope on the approach
    {.event = kEventAutopilotAttitudeHoldOn, .action = action_set, .token = kVarAutopilotAttitudeHold,
     .set_to = 1},
    {.event = kEventAutopilotAttitudeHoldOff, .action = action_set, .token = kVarAutopilotAttitudeHold,
     .set_to = 0},
    {.event = kEventAutopilotLocalizerHoldOff, .action = action_set, .token = kVarAutopilotNav1Hold,
     .set_to = 0},
    {.event = kEventAutopilotApproachHoldOff, .action = action_set, .token = kVarAutopilotApproachHold,
     .set_to = 0},
    {.event = kEventAutopilotApproachHoldOff, .action = action_set, .token = kVarAutopilotGlideslopeHold,
     .set_to = 0},
    {.event = kEventAutopilotHeadingHoldOff, .action = action_set, .token = kVarAutopilotHeadingHold,
     .set_to = 0},
    {.event = kEventAutopilotAltitudeHoldOff, .action = action_set, .token = kVarAutopilotAltitudeHold,
     .set_to = 0},
    {.event = kEventAutopilotWingLevelerOff, .action = action_set, .token = kVarAutopilotWingLeveler,
     .set_to = 0},
    {.event = kEventAutopilotBackCourseHoldOff, .action = action_set, .token = kVarAutopilotBackCourseHold,
     .set_to = 0},
    {.event = kEventAutopilotNav1HoldOff, .action = action_set, .token = kVarAutopilotNav1Hold, .set_to = 0},
    {.event = kEveryFrame, .action = glideslope_capture, .token = kVarAutopilotGlideslopeHold},
    // The trim on its servo
    {.event = kEventElevatorTrimSet, .action = trim, .token = kVarElevatorTrim},
    // The attitude instruments' reference-bar knob
    {.event = kEventAttitudeBarsUp, .action = reference_bars, .token = kVarAttitudeBars, .step = +1},
    {.event = kEventAttitudeBarsDown, .action = reference_bars, .token = kVarAttitudeBars, .step = -1},
};

// A simple aircraft on the elevator and aileron servos, where no flight
// model flies.
const ModelRule kServoRules[] = {
    {.event = kEventElevatorSet, .action = pitch, .token = kVarPitch},
    {.event = kEventAileronSet, .action = roll, .token = kVarBank},
};

}  // namespace

std::span<const ModelRule> autopilot_rules() { return kAutopilotRules; }
std::span<const ModelRule> servo_rules() { return kServoRules; }
}  // namespace z480
