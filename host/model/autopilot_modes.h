// The host autopilot's mode logic: which mode words a button press or the
// module's switches turn on and off, and what the autopilot does by itself
// each frame (drops out on a dead bus, captures a course and a glideslope).
// A lateral mode (HDG, V/L, APP, REV, wing leveller) excludes the others,
// and so does a vertical one (ALT, IAS, attitude hold, glideslope); GO
// AROUND ends both. V/L, APP and REV arm alongside HDG, which flies the
// intercept until the course is captured; the glideslope captures only on a
// captured localizer and near the path, and replaces ALT.
#pragma once

#include <cstdint>
#include <span>

#include "host/core/host.h"

namespace z480 {

struct ModelRule;

// Main bus volts below which the autopilot and yaw damper drop out.
inline constexpr double kAutopilotVolts = 20.0;
// The course captures within this lateral deviation (full scale 1).
inline constexpr double kCourseCapture = 0.5;
// ... or sooner, once the needle would reach the centre within this time.
inline constexpr double kCourseCaptureLeadSeconds = 10.0;
// The glideslope captures within this vertical deviation (full scale 1,
// about a fifth of a dot on a two-dot scale).
inline constexpr double kGlideslopeCapture = 0.1;
// The glideslope needle's full scale.
inline constexpr double kGlideslopeNeedleScale = 127.0;

bool autopilot_powered(const Host &host);
// The autopilot engaged in its attitude hold.
bool autopilot_holds_attitude(const Host &host);
// Whether a course captures at a deviation (full scale 1) moving at a rate
// (full scale a second); never at or beyond full scale.
bool course_captures(double deviation, double rate);
// Switches a mode on with what it excludes, or (on = false) off with what
// rides on it; nothing goes on without power.
void set_autopilot_mode(Host &host, std::int32_t mode, bool on);

// The rules of the autopilot panel's events and the autopilot's own frame.
std::span<const ModelRule> autopilot_mode_rules();

}  // namespace z480
