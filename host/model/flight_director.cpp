#include "host/model/flight_director.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "host/core/host.h"
#include "host/model/airframe_model.h"
#include "host/model/autopilot_modes.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

constexpr double kFrame = 1.0 / Host::kFramesPerSecond;
constexpr double kFpmPerVerticalSpeed = 60.0 / 0.3048 / 256.0;  // token 65 to ft/min
constexpr double kFeetPerMetre = 1.0 / 0.3048;
constexpr double kFpmPerKnot = 101.2686;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// The glideslope's feet per full scale at a height never counts less than
// at this one, so the law keeps its calm over the threshold.
constexpr double kGlideslopeLeastHeight = 200.0;

bool is_on(const Host &host, std::int32_t token) { return host.var(token) > 0; }
double var_or(const Host &host, std::int32_t token, double fallback) {
  return finite_or(host.var(token), fallback);
}
double height_ft(const Host &host) { return var_or(host, kVarRadioHeight, 0.0) * kFeetPerMetre; }
bool captured(const Host &host) { return host.var(kVarAutopilotCourseCaptured) == 1.0; }

// ---------------------------------------------------------------- lateral

double hold_heading(Host &host) {
  return heading_bank_command(heading_error(host.var(kVarSelectedHeading), host.var(kVarHeading)));
}
double wings_level(Host &) { return 0.0; }
double fly_heading(const Host &host, double heading) {
  return heading_bank_command(heading_error(heading, host.var(kVarHeading)));
}

// Before its capture a course mode flies the intercept toward the needle
// (HDG, when on, flies the pilot's own instead: it comes first below), and
// wings level with no needle. Captured, it flies the centreline with what it
// has learned of the drift.
double track_course(Host &host, double course, double sense) {
  double deviation = sense * var_or(host, kVarHsiLateralDeviation, 0.0);
  if (!captured(host)) {
    if (host.var(kVarHsiLateralValid) == 0.0) return 0.0;
    return fly_heading(host, intercept_heading(course, deviation));
  }
  double height = height_ft(host);
  double correction = course_correction_step(var_or(host, kVarAutopilotCourseCorrection, 0.0),
                                             deviation, height);
  host.set_var(kVarAutopilotCourseCorrection, correction);
  return fly_heading(host, course_heading(course, deviation, height) + correction);
}
double front_course(Host &host) { return track_course(host, host.var(kVarHsiCourse), 1.0); }
// The back course: inbound against the course set, the needle read reversed.
double back_course(Host &host) {
  return track_course(host, host.var(kVarHsiCourse) + 180.0, -1.0);
}

struct LateralLaw {
  std::int32_t mode;
  double (*bank)(Host &host);
};
// The first mode on decides.
const LateralLaw kLateralLaws[] = {
    {kVarAutopilotGoAround, wings_level},
    {kVarAutopilotHeadingHold, hold_heading},
    {kVarAutopilotNav1Hold, front_course},
    {kVarAutopilotApproachHold, front_course},
    {kVarAutopilotBackCourseHold, back_course},
    {kVarAutopilotWingLeveler, wings_level},
};

// The bank command rolls toward the target at the roll-in rate; with no
// lateral mode it follows the bank, so a mode starts from where the aircraft
// is. Returns whether a lateral mode commands.
bool bank_command(Host &host) {
  double present = var_or(host, kVarBank, 0.0);
  double command = var_or(host, kVarFlightDirectorBank, present);
  bool commands = false;
  for (const LateralLaw &law : kLateralLaws) {
    if (!is_on(host, law.mode)) continue;
    command = move_toward(command, law.bank(host), kRollInRate * kFrame);
    commands = true;
    break;
  }
  host.set_var(kVarFlightDirectorBank, commands ? command : present);
  return commands;
}

// --------------------------------------------------------------- vertical

double climb_fpm(const Host &host) { return var_or(host, kVarVerticalSpeed, 0.0) * kFpmPerVerticalSpeed; }

// Pitch is positive nose down: too little climb lowers the command.
double fly_climb(const Host &host, double command, double wanted_fpm) {
  return command + kClimbPitchGain * (climb_fpm(host) - wanted_fpm) * kFrame;
}

double hold_altitude(Host &host, double command) {
  double error = var_or(host, kVarAutopilotAltitudeLock, 0.0) - var_or(host, kVarIndicatedAltitude, 0.0);
  return fly_climb(host, command, altitude_climb_command(error));
}

double track_glideslope(Host &host, double command) {
  double wanted = glideslope_climb_command(var_or(host, kVarIndicatedAirspeed, 0.0),
                                           var_or(host, kVarHsiGlideSlopeDeviation, 0.0),
                                           height_ft(host));
  return fly_climb(host, command, wanted);
}

// Too slow: nose down, by the change of the error and its sum.
double hold_airspeed(Host &host, double command) {
  double speed = var_or(host, kVarIndicatedAirspeed, 0.0);
  double last = var_or(host, kVarAutopilotAirspeedLast, speed);
  double error = var_or(host, kVarReferenceAirspeed, speed) - speed;
  host.set_var(kVarAutopilotAirspeedLast, speed);
  return command + kAirspeedPitchGain * (last - speed) + kAirspeedPitchIntegral * error * kFrame;
}

double hold_pitch(Host &, double command) { return command; }

double go_around(Host &, double command) {
  return move_toward(command, -kGoAroundPitch, kGoAroundPitchRate * kFrame);
}

struct VerticalLaw {
  std::int32_t mode;
  double (*pitch)(Host &host, double command);
};
const VerticalLaw kVerticalLaws[] = {
    {kVarAutopilotAltitudeHold, hold_altitude}, {kVarAutopilotGlideslopeHold, track_glideslope},
    {kVarAutopilotAirspeedHold, hold_airspeed}, {kVarAutopilotAttitudeHold, hold_pitch},
    {kVarAutopilotGoAround, go_around},
};

// Without a pitch mode the command follows the pitch. Returns whether a
// vertical mode commands.
bool pitch_command(Host &host) {
  double present = var_or(host, kVarPitch, 0.0);
  double command = var_or(host, kVarFlightDirectorPitch, present);
  bool commands = false;
  for (const VerticalLaw &law : kVerticalLaws) {
    if (!is_on(host, law.mode)) continue;
    command = std::clamp(law.pitch(host, command), -kPitchLimit, kPitchLimit);
    commands = true;
    break;
  }
  host.set_var(kVarFlightDirectorPitch, commands ? command : present);
  return commands;
}

// ------------------------------------------------------------------ words

// The module's pitch steering starts on ALT and on a tracked glideslope by
// itself; every other pitch mode asks for it through the vertical-hold word,
// and so does the glideslope, so the steering goes on while the needle
// strays outside the band the module tracks it in.
void steering_words(Host &host, bool lateral, bool vertical) {
  bool others = is_on(host, kVarAutopilotAirspeedHold) || is_on(host, kVarAutopilotAttitudeHold) ||
                is_on(host, kVarAutopilotGoAround) || is_on(host, kVarAutopilotGlideslopeHold);
  host.set_var(kVarAutopilotVerticalHold, others ? 1.0 : 0.0);
  host.set_var(kVarFlightDirectorActive, lateral || vertical ? 1.0 : 0.0);
}

// The roll servo flies the bank command while the autopilot is engaged in a
// lateral mode, and centres the aileron once when it lets go.
void roll_servo(Host &host, bool flying) {
  bool engaged = flying && host.var(kVarAutopilotMaster) == 1.0;
  if (engaged) {
    double error = host.var(kVarFlightDirectorBank) - var_or(host, kVarBank, 0.0);
    double aileron = std::clamp(kRollServoGain * error, -kRollServoLimit, kRollServoLimit);
    host.set_var(kVarAutopilotRollServo, 1);
    host.raise_key_event(kEventAileronSet, to_event_value(aileron * kAxisFullScale));
  } else if (host.var(kVarAutopilotRollServo) != 0.0) {
    host.set_var(kVarAutopilotRollServo, 0);
    host.raise_key_event(kEventAileronSet, 0);
  }
}

void director_frame(Host &host, const ModelRule &, std::uint32_t) {
  bool lateral = bank_command(host);
  bool vertical = pitch_command(host);
  steering_words(host, lateral, vertical);
  roll_servo(host, lateral);
}

// The trim wheel, while the attitude hold flies, moves the attitude held.
void trim_attitude(Host &host, const ModelRule &rule, std::uint32_t) {
  if (!autopilot_holds_attitude(host)) return;
  double command = var_or(host, kVarFlightDirectorPitch, var_or(host, kVarPitch, 0.0));
  host.set_var(kVarFlightDirectorPitch,
               std::clamp(command + rule.step * kAttitudeTrimStep, -kPitchLimit, kPitchLimit));
}

// The pitch trim servo: while the module's pitch steering flies a host
// pitch mode on the elevator alone, the trim runs slowly after the elevator
// it holds, so the attitude commanded is met without a standing error.
void pitch_trim_servo(Host &host, const ModelRule &, std::uint32_t value) {
  if (host.var(kVarAutopilotMaster) != 1.0) return;
  bool flying = false;
  for (const VerticalLaw &law : kVerticalLaws) flying = flying || is_on(host, law.mode);
  if (!flying) return;
  double elevator = std::clamp(static_cast<std::int32_t>(value) / kAxisFullScale, -1.0, 1.0);
  double trim = var_or(host, kVarElevatorTrim, 0.0) - kTrimFollowRate * elevator * kFrame;
  host.set_var(kVarElevatorTrim, std::clamp(trim, -kTrimStop, kTrimStop));
}

const ModelRule kDirectorRules[] = {
    {.event = kEveryFrame, .action = director_frame},
    {.event = kEventElevatorSet, .action = pitch_trim_servo},
    // nose down, nose up
    {.event = kEventElevatorTrimDown, .action = trim_attitude, .step = +1},
    {.event = kEventElevatorTrimUp, .action = trim_attitude, .step = -1},
};

}  // namespace

double heading_error(double selected, double heading) {
  double e = wrapped(selected - heading, 360.0);
  if (e != e) return 0.0;
  if (e > 180.0) e -= 360.0;
  if (e < -180.0) e += 360.0;
  return e;
}

double heading_bank_command(double error) {
  return -std::clamp(kHeadingBankGain * error, -kBankLimit, kBankLimit);
}

double altitude_climb_command(double error) {
  return std::clamp(kAltitudeClimbGain * error, -kAltitudeClimbLimit, kAltitudeClimbLimit);
}

double course_heading(double course, double deviation, double height) {
  double share = std::clamp(finite_or(height, 0.0) / kCourseScheduleFeet, kCourseGainLeast, 1.0);
  double off = held_within(kCourseGain * share * deviation, kInterceptLimit);
  return finite_or(course, 0.0) + off;
}

double intercept_heading(double course, double deviation) {
  double side = finite_or(deviation, 0.0) < 0.0 ? -1.0 : 1.0;
  return finite_or(course, 0.0) + side * kInterceptAngle;
}

double course_correction_step(double correction, double deviation, double height) {
  double share = std::clamp(finite_or(height, 0.0) / kCourseScheduleFeet, kCourseGainLeast, 1.0);
  double learned = kCourseCorrectionRate * share * held_within(deviation, kCourseCapture) * kFrame;
  return held_within(finite_or(correction, 0.0) + learned, kCourseCorrectionLimit);
}

double glideslope_climb_command(double speed, double deviation, double height) {
  double along = -finite_or(speed, 0.0) * kFpmPerKnot * std::sin(kGlidePathDegrees * kRadiansPerDegree);
  // Feet of height per full scale: the path's spread at this distance out.
  double spread = std::max(finite_or(height, 0.0), kGlideslopeLeastHeight) *
                  std::tan(kGlideslopeFullScaleDegrees * kRadiansPerDegree) /
                  std::tan(kGlidePathDegrees * kRadiansPerDegree);
  // Above the path: less climb.
  double correction = -held_within(deviation, 1.0) * spread / kGlideslopeSeconds * 60.0;
  return along + held_within(correction, kGlideslopeCorrectionLimit);
}

std::span<const ModelRule> flight_director_rules() { return kDirectorRules; }

}  // namespace z480
