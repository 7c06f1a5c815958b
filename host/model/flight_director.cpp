#include "host/model/flight_director.h"

#include <algorithm>
#include <cmath>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "host/core/host.h"
#include "host/model/autopilot_modes.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

constexpr double kFrame = 1.0 / Host::kFramesPerSecond;
constexpr double kFpmPerVerticalSpeed = 60.0 / 0.3048 / 256.0;  // token 65 to ft/min

bool is_on(const Host &host, std::int32_t token) { return host.var(token) > 0; }

// The bank the lateral mode wants, or no lateral mode.
bool lateral_target(const Host &host, double &bank) {
  if (is_on(host, kVarAutopilotHeadingHold)) {
    bank = heading_bank_command(
        heading_error(host.var(kVarSelectedHeading), host.var(kVarHeading)));
    return true;
  }
  if (is_on(host, kVarAutopilotWingLeveler) || is_on(host, kVarAutopilotGoAround)) {
    bank = 0;
    return true;
  }
  return false;
}

// The bank command rolls toward the target at the roll-in rate; with no
// lateral mode it follows the bank, so a mode starts from where the aircraft is.
void bank_command(Host &host, bool &flying) {
  double target = 0;
  double present = finite_or(host.var(kVarBank), 0.0);
  flying = lateral_target(host, target);
  double command = finite_or(host.var(kVarFlightDirectorBank), present);
  command = flying ? move_toward(command, target, kRollInRate * kFrame) : present;
  host.set_var(kVarFlightDirectorBank, command);
}

// ALT flies the climb back to the held altitude by moving the pitch command;
// without a pitch mode the command follows the pitch.
void pitch_command(Host &host) {
  double present = finite_or(host.var(kVarPitch), 0.0);
  double command = finite_or(host.var(kVarFlightDirectorPitch), present);
  if (is_on(host, kVarAutopilotAltitudeHold)) {
    double error = finite_or(host.var(kVarAutopilotAltitudeLock) - host.var(kVarIndicatedAltitude), 0.0);
    double climb = finite_or(host.var(kVarVerticalSpeed), 0.0) * kFpmPerVerticalSpeed;
    // Pitch is positive nose down: too little climb lowers the command.
    command += kClimbPitchGain * (climb - altitude_climb_command(error)) * kFrame;
    command = std::clamp(command, -kPitchLimit, kPitchLimit);
  } else if (!is_on(host, kVarAutopilotGlideslopeHold) && !is_on(host, kVarAutopilotVerticalHold)) {
    command = present;
  }
  host.set_var(kVarFlightDirectorPitch, command);
}

// The roll servo flies the bank command while the autopilot is engaged in a
// lateral mode, and centres the aileron once when it lets go.
void roll_servo(Host &host, bool flying) {
  bool engaged = flying && host.var(kVarAutopilotMaster) == 1.0;
  if (engaged) {
    double error = host.var(kVarFlightDirectorBank) - finite_or(host.var(kVarBank), 0.0);
    double aileron = std::clamp(kRollServoGain * error, -kRollServoLimit, kRollServoLimit);
    host.set_var(kVarAutopilotRollServo, 1);
    host.raise_key_event(kEventAileronSet, to_event_value(aileron * kAxisFullScale));
  } else if (host.var(kVarAutopilotRollServo) != 0.0) {
    host.set_var(kVarAutopilotRollServo, 0);
    host.raise_key_event(kEventAileronSet, 0);
  }
}

void director_frame(Host &host, const ModelRule &, std::uint32_t) {
  bool flying = false;
  bank_command(host, flying);
  pitch_command(host);
  roll_servo(host, flying);
}

const ModelRule kDirectorRules[] = {
    {kEveryFrame, director_frame, 0},
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

std::span<const ModelRule> flight_director_rules() { return kDirectorRules; }

}  // namespace z480
