// The host's flight director and the autopilot's roll servo. Each frame it
// works out the bank command (token 794) from the lateral mode and the
// pitch command (token 793) from the vertical mode, both in the units of
// the attitude they command (nose down and left wing down positive), and
// says whether it commands anything (token 792). The module's own pitch
// steering flies the pitch command through the elevator; the host flies the
// bank command through the aileron, as the module has no lateral law of its
// own for the host's modes.
#pragma once

#include <cstdint>
#include <span>

namespace z480 {

struct ModelRule;

// HDG banks this far per degree of heading error, up to the limit, and
// rolls in no faster than the roll-in rate (degrees a second).
inline constexpr double kHeadingBankGain = 1.5;
inline constexpr double kBankLimit = 25.0;
inline constexpr double kRollInRate = 5.0;
// A captured course is flown by a heading off the course, this many degrees
// per full-scale deviation, at most the largest intercept; below the
// scheduling height (feet above the ground) the gain falls with the height,
// as the beam narrows, down to its least share.
inline constexpr double kCourseGain = 30.0;
inline constexpr double kInterceptLimit = 30.0;
inline constexpr double kCourseScheduleFeet = 1500.0;
inline constexpr double kCourseGainLeast = 0.35;
// Armed without HDG, a course mode turns in toward its course at this angle.
inline constexpr double kInterceptAngle = 45.0;
// A standing deviation turns the aircraft into the wind this many degrees a
// second per full scale (scheduled with the height as the gain is), up to
// the largest drift it corrects.
inline constexpr double kCourseCorrectionRate = 0.3;
inline constexpr double kCourseCorrectionLimit = 25.0;
// ALT: feet a minute of climb per foot of altitude error, up to the limit;
// and the pitch change, degrees a second, per foot a minute of climb error.
inline constexpr double kAltitudeClimbGain = 4.0;
inline constexpr double kAltitudeClimbLimit = 1000.0;
inline constexpr double kClimbPitchGain = 0.002;
inline constexpr double kPitchLimit = 15.0;
// The glideslope: the path's angle, and the seconds in which the climb it
// asks for would take out the present deviation, at most the correction
// limit (feet a minute).
inline constexpr double kGlidePathDegrees = 3.0;
inline constexpr double kGlideslopeFullScaleDegrees = 0.7;
inline constexpr double kGlideslopeSeconds = 6.0;
inline constexpr double kGlideslopeCorrectionLimit = 800.0;
// IAS: degrees of pitch per knot of speed error, and per knot-second.
inline constexpr double kAirspeedPitchGain = 1.5;
inline constexpr double kAirspeedPitchIntegral = 0.15;
// GO AROUND: the attitude it pitches up to, degrees nose up, and how fast.
inline constexpr double kGoAroundPitch = 7.0;
inline constexpr double kGoAroundPitchRate = 2.0;
// The attitude hold's step, degrees, for each click of the trim wheel.
inline constexpr double kAttitudeTrimStep = 0.1;
// The pitch trim servo's speed: radians of trim a second at full elevator.
inline constexpr double kTrimFollowRate = 0.1;
// The roll servo: aileron (full deflection 1) per degree of bank error, and
// its authority.
inline constexpr double kRollServoGain = 0.04;
inline constexpr double kRollServoLimit = 0.35;

// The bank command for a heading error (the selected heading less the
// heading, degrees): banks right (negative) toward a heading to the right.
double heading_bank_command(double heading_error);
// Heading error within -180 to 180 (NaN gives 0).
double heading_error(double selected, double heading);
// Climb (feet a minute) ALT asks for at an altitude error (feet).
double altitude_climb_command(double altitude_error);
// The heading that flies a captured course back onto its centreline, from
// the lateral deviation (full scale 1, positive with the centreline to the
// right) at a height above the ground (feet).
double course_heading(double course, double deviation, double height_ft);
// The intercept's heading toward a course's centreline from the deviation.
double intercept_heading(double course, double deviation);
// The drift correction after a frame at a deviation and height.
double course_correction_step(double correction, double deviation, double height_ft);
// Climb (feet a minute) the glideslope asks for at a speed (knots), a
// deviation (full scale 1, positive above the path) and a height above
// the ground (feet).
double glideslope_climb_command(double speed_kts, double deviation, double height_ft);

std::span<const ModelRule> flight_director_rules();

}  // namespace z480
