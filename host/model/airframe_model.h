// How the simulator moves the airframe on the quadrant's and the panel's
// events: the gear lever and the legs that follow it over a few seconds, the
// flap lever stepping between its notches and the flaps running after it,
// the elevator trim, and the power and propeller levers. Registered with the
// systems model as the "airframe" table.
#pragma once

namespace z480 {

// Gear lever, gear legs, flap lever and flap position share one scale.
inline constexpr double kTravelFullScale = 16383.0;
inline constexpr double kGearLeverUp = 0.0;
inline constexpr double kGearLeverDown = kTravelFullScale;
// The flap lever's notches: up, DEC, APP, ATT.
inline constexpr double kFlapNotches[] = {0.0, 5461.0, 10922.0, kTravelFullScale};

// Elevator trim in radians: one event turns the wheel by one of its
// pictures (0.2 degree), up to the stops.
inline constexpr double kTrimStep = 0.003490658503988659;
inline constexpr double kTrimStop = 0.2617993877991494;  // 15 degrees

// The power lever's step towards reverse, and the reverse stop.
inline constexpr double kPowerLeverStep = 0.05;
inline constexpr double kReverseStop = -0.25;

// The flap lever one notch further (delta +1, flaps down) or back (-1): to
// the next notch beyond the lever in that direction, so a lever between
// notches goes to the nearer one that way; it stays at the end notches.
double flap_notch_step(double lever, int delta);
// The trim one step nose up (+1) or nose down (-1), within the stops.
double trim_step(double trim, int delta);
// The power lever one step, within the reverse stop and full power.
double power_lever_step(double lever, int delta);
// Where a gear leg or the flaps stand one frame later, travelling after
// their lever at full travel in `travel_frames` frames.
double follow_lever(double position, double lever, int travel_frames);

}  // namespace z480
