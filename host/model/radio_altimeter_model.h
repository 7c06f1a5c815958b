// How the simulator keeps the radio altimeter's decision height and lamp:
// the height is metres in the host (token 615); the panel steps it in feet,
// 10 ft at a time low down (the key event's value 1, sent below 300 ft) and
// 50 ft above (value 0), between 0 and 2500 ft. Registered with the systems
// model as the "radio altimeter" table.
#pragma once

#include <cstdint>

namespace z480 {

inline constexpr double kFeetPerMetre = 3.28084;
inline constexpr double kFineStepFeet = 10.0;
inline constexpr double kCoarseStepFeet = 50.0;
inline constexpr double kHighestDecisionFeet = 2500.0;

// The decision height (metres) after one step up (+1) or down (-1); the
// event's value chooses the step. The result is a whole number of feet; a
// height that is no number starts from 0.
double decision_height_step(double metres, int direction, std::uint32_t value);

// The host's decision-height lamp: lit at or below a decision height that is
// set (above 0).
bool decision_height_lamp(double radio_height, double decision_height);

}  // namespace z480
