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

const ModelRule kAutopilotRules[] = {
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
