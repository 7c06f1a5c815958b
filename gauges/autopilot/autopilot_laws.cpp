#include "gauges/autopilot/autopilot_laws.h"

#include <algorithm>
#include <cmath>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/autopilot/autopilot_state.h"

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kFullScale = 16384.0;
// Elevator and trim commands take full scale as 20 degrees, the aileron 30.
constexpr double kElevatorDegrees = 20.0;
constexpr double kAileronDegrees = 30.0;
constexpr double kElevatorGain = 1.2;
constexpr double kAileronGain = 3.0;
constexpr double kTrimGain = 2.0;
constexpr double kGlideslopeDeviationLimit = 18.0;
constexpr double kWatchAllModesOff = 16000.0;  // at or above: every mode off
constexpr double kWatchAttitudeHold = 100.0;   // falling at or below: attitude hold

void send(std::int32_t event, std::int32_t value = 0) {
  trigger_key_event(event, static_cast<std::uint32_t>(value));
}
void send_all(std::initializer_list<std::int32_t> events) {
  for (std::int32_t e : events) send(e);
}
bool on(std::int32_t token) { return read_var(token) == 1.0; }
}  // namespace

double limit_error(double error) {
  if (std::isnan(error)) return 0.0;
  return std::clamp(error, -kErrorLimit, kErrorLimit);
}

std::int32_t steering_elevator_command(double director_pitch, double pitch) {
  return to_int((director_pitch - pitch) * kElevatorGain * kFullScale / kElevatorDegrees);
}

std::int32_t roll_aileron_command(double bank_target, double bank) {
  double error = limit_error(bank_target + bank);
  return to_int(-kAileronGain * error * kFullScale / kAileronDegrees);
}

double trim_accumulator_for(double trim_radians) {
  double degrees = trim_radians * kDegreesPerRadian;
  if (!std::isfinite(degrees)) return 0.0;
  return kAccumulatorPerTrimDegree * degrees;
}

PitchChannelStep pitch_channel_step(double reference, double pitch, double accumulator) {
  double error = limit_error(reference + pitch);
  double sum = accumulator + error;
  // The trim command: the accumulator in degrees of trim (9 a degree) at
  // 16384 per 20 degrees.
  return {sum, to_int(-kElevatorGain * error * kFullScale / kElevatorDegrees),
          to_int(kTrimGain * sum * kFullScale / kElevatorDegrees /
                 (kTrimGain * kAccumulatorPerTrimDegree))};
}

bool ap_glideslope_tracking() {
  return read_var(kVarAutopilotApproachHold) != 0.0 &&
         read_var(kVarAutopilotGlideslopeHold) != 0.0 &&
         std::fabs(read_var(kVarNav1GlideslopeNeedle)) <= kGlideslopeDeviationLimit &&
         read_var(kVarNav1GlideslopeReceived) != 0.0;
}

void ap_pitch_engage() {
  Pitch_Channel_On = 1;
  send_all({kEventAutopilotAttitudeHoldOff, kEventAutopilotAltitudeHoldOff});
  if (ap_glideslope_tracking()) send(kEventAutopilotApproachHoldOff);
}

void ap_roll_engage() {
  Roll_Channel_On = 1;
  send_all({kEventAutopilotHeadingHoldOff, kEventAutopilotNav1HoldOff,
            kEventAutopilotApproachHoldOff, kEventAutopilotWingLevelerOff,
            kEventAutopilotBackCourseHoldOff});
}

void ap_mode_watch() {
  if (read_var(kVarSystemsOn) == 1.0 || read_var(kVarAutopilotMaster) == 0.0) return;
  double watched = read_var(kVarAutopilotWatch);
  if (watched >= kWatchAllModesOff)
    send_all({kEventAutopilotLocalizerHoldOff, kEventAutopilotHeadingHoldOff,
              kEventAutopilotWingLevelerOff, kEventAutopilotBackCourseHoldOff,
              kEventAutopilotNav1HoldOff, kEventAutopilotAttitudeHoldOff,
              kEventAutopilotAltitudeHoldOff, kEventAutopilotApproachHoldOff});
  if (watched < Previous_Token_322 && watched <= kWatchAttitudeHold)
    send_all({kEventAutopilotAttitudeHoldOn, kEventAutopilotWingLevelerOff});
  Previous_Token_322 = watched;
}

void ap_pitch_steering() {
  if (read_var(kVarAutopilotMaster) == 0.0) return;
  if (!(on(kVarAutopilotAltitudeHold) || ap_glideslope_tracking() || on(kVarAutopilotVerticalHold)))
    return;
  double director = read_var(kVarFlightDirectorPitch);
  send(kEventElevatorSet, steering_elevator_command(director, read_var(kVarPitch)));
}

namespace {
bool roll_channel_drops() {
  if (!on(kVarAutopilotMaster)) return true;
  for (std::int32_t mode :
       {kVarAutopilotWingLeveler, kVarAutopilotNav1Hold, kVarAutopilotHeadingHold,
        kVarAutopilotApproachHold, kVarAutopilotBackCourseHold})
    if (on(mode)) return true;
  return Roll_Channel_On == 0;
}

bool pitch_channel_drops() {
  return !on(kVarAutopilotMaster) || on(kVarAutopilotAttitudeHold) ||
         on(kVarAutopilotAltitudeHold) || ap_glideslope_tracking() ||
         on(kVarAutopilotVerticalHold) || Pitch_Channel_On == 0;
}
}  // namespace

void ap_roll_channel() {
  if (roll_channel_drops()) {
    Roll_Channel_On = 0;
    return;
  }
  Bank_Target = std::clamp(Bank_Target, -kBankLimit, kBankLimit);
  send(kEventAileronSet, roll_aileron_command(Bank_Target, read_var(kVarBank)));
}

// While the channel is off, the reference follows the present pitch and the
// accumulator the present trim, so engaging starts from where the aircraft is.
void ap_pitch_channel() {
  if (pitch_channel_drops()) {
    Trim_Accumulator = trim_accumulator_for(read_var(kVarElevatorTrim));
    double pitch = read_var(kVarPitch);
    Pitch_Reference = std::isfinite(pitch) ? -pitch : 0.0;
    Pitch_Channel_On = 0;
    return;
  }
  PitchChannelStep step =
      pitch_channel_step(Pitch_Reference, read_var(kVarPitch), Trim_Accumulator);
  Trim_Accumulator = step.accumulator;
  send(kEventElevatorSet, step.elevator);
  send(kEventElevatorTrimSet, step.trim);
}
