// The autopilot's servos and knobs as the simulator answers them (its modes
// are in autopilot_modes.h, its flight director in flight_director.h): the
// attitude instruments' reference-bar knob, and a simple aircraft that
// pitches and rolls on the servo commands and trims on the trim command.
// Registered with the systems model as the "autopilot" table.
#pragma once

#include <cstdint>

namespace z480 {

// Pitch (positive nose down) and bank (positive left wing down) change at
// these rates, in degrees a second, with a surface at full deflection
// (16384), the most a command deflects them; each command counts for one
// frame. A command of the other sign turns the other way.
inline constexpr double kElevatorPitchRate = 30.0;
inline constexpr double kAileronRollRate = 40.0;
inline constexpr double kPitchStop = 90.0;
// The trim command's full scale, in degrees of elevator trim.
inline constexpr double kTrimCommandDegrees = 20.0;
// The reference bars' travel either way and one knob step.
inline constexpr double kReferenceBarsStop = 100.0;
inline constexpr double kReferenceBarsStep = 5.0;

// The attitude one frame of a servo command later (a value the host sees
// as a signed word); an attitude that is no number starts from level.
double pitch_after_elevator(double pitch, std::uint32_t value);
double bank_after_aileron(double bank, std::uint32_t value);  // within -180 to 180
// The elevator trim in radians that a trim command sets, within the stops.
double trim_for_command(std::uint32_t value);
// The reference bars one knob step up (+1) or down (-1), within their travel.
double reference_bars_step(double position, int delta);

}  // namespace z480
