// The host's flight director and the autopilot's roll servo. Each frame it
// works out the bank command (token 794) from the lateral mode and the
// pitch command (token 793) from the vertical mode, both in the units of
// the attitude they command. The module's own pitch steering flies the
// pitch command through the elevator; the host flies the bank command
// through the aileron, as the module has no lateral law of its own for the
// host's modes.
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
// ALT: feet a minute of climb per foot of altitude error, up to the limit;
// and the pitch change, degrees a second, per foot a minute of climb error.
inline constexpr double kAltitudeClimbGain = 4.0;
inline constexpr double kAltitudeClimbLimit = 1000.0;
inline constexpr double kClimbPitchGain = 0.002;
inline constexpr double kPitchLimit = 15.0;
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

std::span<const ModelRule> flight_director_rules();

}  // namespace z480
