#include "host/autopilot_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "host/airframe_model.h"
#include "host/model_clock.h"
#include "host/systems_model.h"

namespace z480 {
namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// A command's signed deflection, 1 at full scale, as the host reads it for
// one frame.
double per_frame(std::uint32_t value, double rate) {
  return static_cast<std::int32_t>(value) / kAxisFullScale * rate / Host::kFramesPerSecond;
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

constexpr std::int32_t kApEngaged = 103;
constexpr std::int32_t kPitchCoupleMode = 104;
constexpr std::int32_t kVlMode = 105;
constexpr std::int32_t kHdgMode = 106;
constexpr std::int32_t kAltMode = 108;
constexpr std::int32_t kRollCoupleMode = 110;
constexpr std::int32_t kGlideslopeMode = 111;
constexpr std::int32_t kApproachMode = 112;
constexpr std::int32_t kRevMode = 113;
constexpr std::int32_t kYawDamper = 114;
constexpr std::int32_t kIasMode = 115;
constexpr std::int32_t kGoAroundMode = 124;
constexpr std::int32_t kGlideslopeReceived = 44;
constexpr std::int32_t kPitch = 78;
constexpr std::int32_t kBank = 80;
constexpr std::int32_t kElevatorTrim = 783;
constexpr std::int32_t kReferenceBars = 612;

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
  bool captured = host.var(kApproachMode) != 0.0 && host.var(kGlideslopeReceived) != 0.0;
  double want = captured ? 1.0 : 0.0;
  if (host.var(rule.token) != want) host.set_var(rule.token, want);
}

const ModelRule kAutopilotRules[] = {
    // The selector's buttons toggle the modes their lamps show
    {65580, action_toggle, kApEngaged},
    {65722, action_toggle, kRollCoupleMode},
    {65724, action_toggle, kApproachMode},
    {65725, action_toggle, kHdgMode},
    {65726, action_toggle, kAltMode},
    {65727, action_toggle, kPitchCoupleMode},
    {65728, action_toggle, kRevMode},
    {65729, action_toggle, kVlMode},
    {65793, action_toggle, kYawDamper},
    {65859, action_toggle, kIasMode},
    {65861, action_toggle, kGoAroundMode},
    // The mode switches of the module's laws: one on, eight off. The pitch
    // channel yields to modes 110 and 108 and the glideslope, the roll
    // channel to 104, 105, 106, 112 and 113; engaging one switches them off.
    {65804, action_set, kRollCoupleMode, 1},
    {65812, action_set, kRollCoupleMode, 0},
    {65813, action_set, kVlMode, 0},
    {65814, action_set, kApproachMode, 0},
    {65814, action_set, kGlideslopeMode, 0},
    {65815, action_set, kHdgMode, 0},
    {65816, action_set, kAltMode, 0},
    {65817, action_set, kPitchCoupleMode, 0},
    {65818, action_set, kRevMode, 0},
    {65819, action_set, kVlMode, 0},
    {kEveryFrame, glideslope_capture, kGlideslopeMode},
    // The aircraft on the servos and the trim
    {65762, pitch, kPitch},
    {65763, roll, kBank},
    {65706, trim, kElevatorTrim},
    // The attitude instruments' reference-bar knob: raise, lower
    {66318, reference_bars, kReferenceBars, 0, +1},
    {66319, reference_bars, kReferenceBars, 0, -1},
};

[[maybe_unused]] const bool kRegistered = register_model_table("autopilot", kAutopilotRules);

}  // namespace
}  // namespace z480
