#include "gauges/autopilot/autopilot_laws.h"

#include <algorithm>
#include <cmath>

#include "frame/numeric.h"
#include "frame/services.h"
#include "gauges/autopilot/autopilot_state.h"

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
constexpr std::int32_t kVerticalHoldMode = 119;
constexpr std::int32_t kGlideslopeDeviation = 41;
constexpr std::int32_t kGlideslopeReceived = 44;
constexpr std::int32_t kWatchInhibit = 60;
constexpr std::int32_t kWatchedValue = 322;
constexpr std::int32_t kPitch = 78;
constexpr std::int32_t kBank = 80;
constexpr std::int32_t kElevatorTrim = 783;
constexpr std::int32_t kDirectorPitch = 793;

constexpr std::int32_t kAttitudeHoldOn = 65804;
constexpr std::int32_t kAttitudeHoldOff = 65812;
constexpr std::int32_t kLocalizerOff = 65813;
constexpr std::int32_t kApproachOff = 65814;
constexpr std::int32_t kHeadingOff = 65815;
constexpr std::int32_t kAltitudeOff = 65816;
constexpr std::int32_t kWingLevelerOff = 65817;
constexpr std::int32_t kBackCourseOff = 65818;
constexpr std::int32_t kNavOff = 65819;
constexpr std::int32_t kElevatorSet = 65762;
constexpr std::int32_t kAileronSet = 65763;
constexpr std::int32_t kTrimSet = 65706;

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
  return {sum, to_int(-kElevatorGain * error * kFullScale / kElevatorDegrees),
          to_int(kTrimGain * sum * kFullScale / kElevatorDegrees /
                 (kTrimGain * kAccumulatorPerTrimDegree))};
}

bool ap_glideslope_tracking() {
  return read_var(kApproachMode) != 0.0 && read_var(kGlideslopeMode) != 0.0 &&
         std::fabs(read_var(kGlideslopeDeviation)) <= kGlideslopeDeviationLimit &&
         read_var(kGlideslopeReceived) != 0.0;
}

void ap_pitch_engage() {
  Pitch_Channel_On = 1;
  send_all({kAttitudeHoldOff, kAltitudeOff});
  if (ap_glideslope_tracking()) send(kApproachOff);
}

void ap_roll_engage() {
  Roll_Channel_On = 1;
  send_all({kHeadingOff, kNavOff, kApproachOff, kWingLevelerOff, kBackCourseOff});
}

void ap_mode_watch() {
  if (read_var(kWatchInhibit) == 1.0 || read_var(kApEngaged) == 0.0) return;
  double watched = read_var(kWatchedValue);
  if (watched >= kWatchAllModesOff)
    send_all({kLocalizerOff, kHeadingOff, kWingLevelerOff, kBackCourseOff, kNavOff,
              kAttitudeHoldOff, kAltitudeOff, kApproachOff});
  if (watched < Previous_Token_322 && watched <= kWatchAttitudeHold)
    send_all({kAttitudeHoldOn, kWingLevelerOff});
  Previous_Token_322 = watched;
}

void ap_pitch_steering() {
  if (read_var(kApEngaged) == 0.0) return;
  if (!(on(kAltMode) || ap_glideslope_tracking() || on(kVerticalHoldMode))) return;
  double director = read_var(kDirectorPitch);
  send(kElevatorSet, steering_elevator_command(director, read_var(kPitch)));
}

namespace {
bool roll_channel_drops() {
  if (!on(kApEngaged)) return true;
  for (std::int32_t mode : {kPitchCoupleMode, kVlMode, kHdgMode, kApproachMode, kRevMode})
    if (on(mode)) return true;
  return Roll_Channel_On == 0;
}

bool pitch_channel_drops() {
  return !on(kApEngaged) || on(kRollCoupleMode) || on(kAltMode) || ap_glideslope_tracking() ||
         on(kVerticalHoldMode) || Pitch_Channel_On == 0;
}
}  // namespace

void ap_roll_channel() {
  if (roll_channel_drops()) {
    Roll_Channel_On = 0;
    return;
  }
  Bank_Target = std::clamp(Bank_Target, -kBankLimit, kBankLimit);
  send(kAileronSet, roll_aileron_command(Bank_Target, read_var(kBank)));
}

// While the channel is off, the reference follows the present pitch and the
// accumulator the present trim, so engaging starts from where the aircraft is.
void ap_pitch_channel() {
  if (pitch_channel_drops()) {
    Trim_Accumulator = trim_accumulator_for(read_var(kElevatorTrim));
    double pitch = read_var(kPitch);
    Pitch_Reference = std::isfinite(pitch) ? -pitch : 0.0;
    Pitch_Channel_On = 0;
    return;
  }
  PitchChannelStep step = pitch_channel_step(Pitch_Reference, read_var(kPitch), Trim_Accumulator);
  Trim_Accumulator = step.accumulator;
  send(kElevatorSet, step.elevator);
  send(kTrimSet, step.trim);
}
