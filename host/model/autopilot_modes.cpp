#include "host/model/autopilot_modes.h"

#include <cmath>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"
#include "host/model/yaw_damper.h"

namespace z480 {
namespace {

enum class Group { kPower, kLateral, kCourse, kVertical, kGoAround };

struct Mode {
  std::int32_t token;
  Group group;
};

// The course modes are lateral modes that arm alongside HDG.
const Mode kModes[] = {
    {kVarAutopilotMaster, Group::kPower},
    {kVarYawDamper, Group::kPower},
    {kVarAutopilotHeadingHold, Group::kLateral},
    {kVarAutopilotWingLeveler, Group::kLateral},
    {kVarAutopilotNav1Hold, Group::kCourse},
    {kVarAutopilotApproachHold, Group::kCourse},
    {kVarAutopilotBackCourseHold, Group::kCourse},
    {kVarAutopilotAltitudeHold, Group::kVertical},
    {kVarAutopilotAirspeedHold, Group::kVertical},
    {kVarAutopilotAttitudeHold, Group::kVertical},
    {kVarAutopilotGlideslopeHold, Group::kVertical},
    {kVarAutopilotGoAround, Group::kGoAround},
};

const Mode *find_mode(std::int32_t token) {
  for (const Mode &m : kModes)
    if (m.token == token) return &m;
  return nullptr;
}

bool is_on(const Host &host, std::int32_t token) { return host.var(token) > 0; }

void clear(Host &host, std::int32_t token) {
  if (host.var(token) != 0.0) host.set_var(token, 0);
}

bool lateral(Group g) { return g == Group::kLateral || g == Group::kCourse; }

// What a mode that goes on ends: the rest of its axis, and GO AROUND ends
// both axes. A course mode leaves HDG to fly the intercept.
bool excludes(const Mode &engaging, const Mode &other) {
  if (other.token == engaging.token || other.group == Group::kPower) return false;
  switch (engaging.group) {
    case Group::kPower: return false;
    case Group::kGoAround: return true;
    case Group::kVertical: return other.group == Group::kVertical || other.group == Group::kGoAround;
    case Group::kLateral: return lateral(other.group) || other.group == Group::kGoAround;
    case Group::kCourse:
      return other.group == Group::kCourse || other.group == Group::kGoAround ||
             other.token == kVarAutopilotWingLeveler;
  }
  return false;
}

void engage(Host &host, const Mode &mode) {
  if (!autopilot_powered(host)) return;
  for (const Mode &other : kModes)
    if (excludes(mode, other)) set_autopilot_mode(host, other.token, false);
  if (mode.group == Group::kCourse) {
    host.set_var(kVarAutopilotCourseCaptured, 0);
    host.set_var(kVarAutopilotCourseCorrection, 0);
  }
  if (mode.token == kVarAutopilotApproachHold) host.set_var(kVarAutopilotGlideslopeArmed, 1);
  // The attitude hold holds the pitch it engaged at; the damper starts
  // from the yaw rate it engaged at.
  if (mode.token == kVarAutopilotAttitudeHold)
    host.set_var(kVarFlightDirectorPitch, finite_or(host.var(kVarPitch), 0.0));
  if (mode.token == kVarYawDamper) start_yaw_damper(host);
  if (mode.token == kVarAutopilotAltitudeHold)
    host.set_var(kVarAutopilotAltitudeLock, finite_or(host.var(kVarIndicatedAltitude), 0.0));
  if (mode.token == kVarAutopilotAirspeedHold) {
    // The speed held, which the attitude indicator's speed pointer shows.
    double speed = finite_or(host.var(kVarIndicatedAirspeed), 0.0);
    host.set_var(kVarReferenceAirspeed, speed);
    host.set_var(kVarAutopilotAirspeedLast, speed);
    host.set_var(kVarSpeedPointerEnable, 1);
  }
  host.set_var(mode.token, 1);
}

void disengage(Host &host, const Mode &mode) {
  // The speed pointer shows the held speed only while IAS holds it.
  if (mode.token == kVarAutopilotAirspeedHold && is_on(host, mode.token))
    clear(host, kVarSpeedPointerEnable);
  // A glideslope given up stays given up until APP is pressed again: ALT
  // pressed on the path holds the altitude, the localizer still flown.
  if (mode.token == kVarAutopilotGlideslopeHold && is_on(host, mode.token))
    clear(host, kVarAutopilotGlideslopeArmed);
  clear(host, mode.token);
  // The glideslope rides on the approach, a capture on its course mode.
  if (mode.token == kVarAutopilotApproachHold) {
    clear(host, kVarAutopilotGlideslopeHold);
    clear(host, kVarAutopilotGlideslopeArmed);
  }
  if (mode.group == Group::kCourse) clear(host, kVarAutopilotCourseCaptured);
}

void toggle(Host &host, const ModelRule &rule, std::uint32_t) {
  set_autopilot_mode(host, rule.token, !is_on(host, rule.token));
}
void switch_on(Host &host, const ModelRule &rule, std::uint32_t) {
  set_autopilot_mode(host, rule.token, true);
}
void switch_off(Host &host, const ModelRule &rule, std::uint32_t) {
  set_autopilot_mode(host, rule.token, false);
}

bool course_mode_on(const Host &host) {
  for (const Mode &m : kModes)
    if (m.group == Group::kCourse && is_on(host, m.token)) return true;
  return false;
}

// A course mode captures once the needle comes within reach, or earlier
// when it comes in fast (a steep intercept near the station), so the turn
// onto the course has the time it takes; HDG, which flew the intercept, then
// ends.
void capture_course(Host &host) {
  double deviation = host.var(kVarHsiLateralDeviation);
  double last = finite_or(host.var(kVarAutopilotCourseLastDeviation), deviation);
  host.set_var(kVarAutopilotCourseLastDeviation, finite_or(deviation, 0.0));
  if (!course_mode_on(host)) return;
  if (host.var(kVarAutopilotCourseCaptured) == 1.0) return;
  if (host.var(kVarHsiLateralValid) == 0.0) return;
  if (!course_captures(deviation, (deviation - last) * Host::kFramesPerSecond)) return;
  host.set_var(kVarAutopilotCourseCaptured, 1);
  clear(host, kVarAutopilotHeadingHold);
}

// The glideslope: captured, once for each APP engagement, on a captured
// localizer near the path, where it replaces the vertical mode; lost with
// the signal.
void capture_glideslope(Host &host) {
  bool received = host.var(kVarHsiGlideSlopeValid) != 0.0;
  if (is_on(host, kVarAutopilotGlideslopeHold)) {
    if (!received) clear(host, kVarAutopilotGlideslopeHold);
    return;
  }
  if (!is_on(host, kVarAutopilotApproachHold) || host.var(kVarAutopilotCourseCaptured) != 1.0) return;
  if (host.var(kVarAutopilotGlideslopeArmed) != 1.0) return;
  if (!received || !(std::fabs(host.var(kVarHsiGlideSlopeDeviation)) <= kGlideslopeCapture)) return;
  set_autopilot_mode(host, kVarAutopilotGlideslopeHold, true);
}

// The glideslope as the module's laws read it.
void glideslope_needle(Host &host) {
  double needle = held_within(host.var(kVarHsiGlideSlopeDeviation), 1.0) * kGlideslopeNeedleScale;
  host.set_var(kVarNav1GlideslopeNeedle, needle);
  host.set_var(kVarNav1GlideslopeReceived, host.var(kVarHsiGlideSlopeValid) != 0.0 ? 1 : 0);
}

void autopilot_frame(Host &host, const ModelRule &, std::uint32_t) {
  glideslope_needle(host);
  if (!autopilot_powered(host)) {
    for (const Mode &m : kModes) disengage(host, m);
    return;
  }
  capture_course(host);
  capture_glideslope(host);
}

const ModelRule kModeRules[] = {
    // The selector's buttons
    {.event = kEventAutopilotMasterToggle, .action = toggle, .token = kVarAutopilotMaster},
    {.event = kEventAutopilotAttitudeHoldToggle, .action = toggle, .token = kVarAutopilotAttitudeHold},
    {.event = kEventAutopilotApproachHoldToggle, .action = toggle, .token = kVarAutopilotApproachHold},
    {.event = kEventAutopilotHeadingHoldToggle, .action = toggle, .token = kVarAutopilotHeadingHold},
    {.event = kEventAutopilotAltitudeHoldToggle, .action = toggle, .token = kVarAutopilotAltitudeHold},
    {.event = kEventAutopilotWingLevelerToggle, .action = toggle, .token = kVarAutopilotWingLeveler},
    {.event = kEventAutopilotBackCourseHoldToggle, .action = toggle, .token = kVarAutopilotBackCourseHold},
    {.event = kEventAutopilotNav1HoldToggle, .action = toggle, .token = kVarAutopilotNav1Hold},
    {.event = kEventYawDamperToggle, .action = toggle, .token = kVarYawDamper},
    {.event = kEventAutopilotAirspeedHoldToggle, .action = toggle, .token = kVarAutopilotAirspeedHold},
    {.event = kEventAutopilotGoAroundToggle, .action = toggle, .token = kVarAutopilotGoAround},
    // The switches the module's laws send: the localizer rides on the NAV
    // hold, the glideslope on the approach
    {.event = kEventAutopilotAttitudeHoldOn, .action = switch_on, .token = kVarAutopilotAttitudeHold},
    {.event = kEventAutopilotAttitudeHoldOff, .action = switch_off, .token = kVarAutopilotAttitudeHold},
    {.event = kEventAutopilotLocalizerHoldOff, .action = switch_off, .token = kVarAutopilotNav1Hold},
    {.event = kEventAutopilotApproachHoldOff, .action = switch_off, .token = kVarAutopilotApproachHold},
    {.event = kEventAutopilotHeadingHoldOff, .action = switch_off, .token = kVarAutopilotHeadingHold},
    {.event = kEventAutopilotAltitudeHoldOff, .action = switch_off, .token = kVarAutopilotAltitudeHold},
    {.event = kEventAutopilotWingLevelerOff, .action = switch_off, .token = kVarAutopilotWingLeveler},
    {.event = kEventAutopilotBackCourseHoldOff, .action = switch_off, .token = kVarAutopilotBackCourseHold},
    {.event = kEventAutopilotNav1HoldOff, .action = switch_off, .token = kVarAutopilotNav1Hold},
    {.event = kEveryFrame, .action = autopilot_frame},
};

}  // namespace

bool course_captures(double deviation, double rate) {
  double off = std::fabs(deviation);
  if (!(off < 1.0)) return false;
  if (off <= kCourseCapture) return true;
  double closing = std::signbit(deviation) == std::signbit(rate) ? 0.0 : std::fabs(rate);
  return off <= closing * kCourseCaptureLeadSeconds;
}

bool autopilot_holds_attitude(const Host &host) {
  return host.var(kVarAutopilotMaster) == 1.0 && is_on(host, kVarAutopilotAttitudeHold);
}

bool autopilot_powered(const Host &host) {
  return bus_above(host.var(kVarMainBusVoltage), kAutopilotVolts);
}

void set_autopilot_mode(Host &host, std::int32_t token, bool on) {
  const Mode *mode = find_mode(token);
  if (!mode) return;
  if (on)
    engage(host, *mode);
  else
    disengage(host, *mode);
}

std::span<const ModelRule> autopilot_mode_rules() { return kModeRules; }

}  // namespace z480
