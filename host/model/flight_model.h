// A small flight model for flying the panel by hand: the pilot sets a pitch,
// a bank and the power; each frame the aircraft turns towards that attitude,
// gains or loses speed with the engines' torque, climbs or sinks along its
// flight path and turns with its bank. It writes what the instruments read:
// attitude, heading, airspeed, vertical speed, altitude and radio height,
// and the ILS indications of runway 04 (threshold at the origin, field at
// sea level), so an approach can be flown down to the callouts.
#pragma once

#include "host/core/host.h"

namespace z480 {

struct FlightState {
  double pitch = 0, bank = 0;  // degrees, nose up and right wing down positive
  double airspeed = 0;         // knots
  double heading = 40;         // degrees
  double altitude = 0;         // feet above the field
  double vertical_speed = 0;   // feet per minute
  double east = 0, north = 0;  // nautical miles from the runway threshold
};

class FlightModel {
 public:
  static constexpr double kRunwayCourse = 40;     // degrees
  static constexpr double kGlidePath = 3;         // degrees
  static constexpr double kRotateSpeed = 95;      // knots: below it the wheels stay down
  static constexpr double kLocalizerFullScale = 2.5;  // degrees either side
  static constexpr double kGlideSlopeFullScale = 0.7;

  // The pilot's inputs: the attitude held (within the strip's limits).
  void set_targets(double pitch, double bank);
  void set_pitch(double pitch) { target_pitch_ = pitch; }
  void set_bank(double bank) { target_bank_ = bank; }
  double target_pitch() const { return target_pitch_; }
  double target_bank() const { return target_bank_; }

  // Places the aircraft and holds its attitude; writes the host variables.
  void place(Host &host, const FlightState &state);
  const FlightState &state() const { return state_; }

  // One frame of 1/18 s: reads the engines' torque, moves, writes.
  void step(Host &host);

 private:
  void write(Host &host) const;

  FlightState state_;
  double target_pitch_ = 0, target_bank_ = 0;
};

// The ILS deviations at a point, as fractions of full scale, -1 to 1:
// lateral positive when the runway centreline lies to the right, vertical
// positive when the glide path lies above.
struct IlsDeviation {
  double lateral = 0, vertical = 0;
};
IlsDeviation ils_deviation(const FlightState &s);

}  // namespace z480
