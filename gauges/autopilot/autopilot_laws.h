// The autopilot's own control laws, run on every update of the autopilot
// annunciator: a watcher that switches the host's modes off, the pitch
// steering that works the elevator while the host holds altitude or tracks
// the glideslope, and the manual pitch and roll channels that the manual
// autopilot panel engages.
#pragma once

#include <cstdint>

// The arithmetic, apart from the host's variables. Commands are key-event
// values, truncated toward zero; attitudes and errors are in the host's
// pitch and bank units (degrees).
inline constexpr double kErrorLimit = 5.0;  // pitch and bank error, either way
inline constexpr double kBankLimit = 27.5;  // the bank target's stops
inline constexpr double kAccumulatorPerTrimDegree = 9.0;

// An error within the limit; one that is no number (a reading gone bad)
// counts as none, so it neither moves a surface nor poisons the trim.
double limit_error(double error);
// The steering law's elevator command towards the flight director's pitch.
std::int32_t steering_elevator_command(double director_pitch, double pitch);
// The roll channel's aileron command holding the bank target.
std::int32_t roll_aileron_command(double bank_target, double bank);
// The trim accumulator that matches a trim in radians (0 for no number).
double trim_accumulator_for(double trim_radians);

struct PitchChannelStep {
  double accumulator;  // after this update's error is added
  std::int32_t elevator;
  std::int32_t trim;
};
// One update of the engaged pitch channel.
PitchChannelStep pitch_channel_step(double reference, double pitch, double accumulator);

// The laws over the host's variables and the module-wide state.
bool ap_glideslope_tracking();
// Engaging a channel switches off the host's modes that would fight it.
void ap_pitch_engage();
void ap_roll_engage();
// The four laws, in the order the annunciator runs them.
void ap_mode_watch();
void ap_pitch_steering();
void ap_roll_channel();
void ap_pitch_channel();
