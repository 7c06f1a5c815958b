// The aircraft under the panel: JSBSim flying our Z480 (host/model/jsbsim.h),
// one frame of it with every host frame. Each frame the host's levers,
// switches and the last control commands go to the model, and what the
// instruments read comes back as host variables: airspeed, altitude,
// vertical speed, attitude, heading, turn rate and ball, the engines (N2,
// torque, inter-turbine temperature, fuel flow, oil, propeller speed), fuel
// quantities and pressures, gear and flap positions, hydraulic pressures.
// The aircraft flies at London Heathrow (host/model/nav_database.h), from
// runway 27L; where it is (position()) is what the radio navigation
// (host/model/radio_navigation.h) works from.
//
// The controls follow the host's conventions: the elevator command
// (kEventElevatorSet, 16384 at full travel) pushes the nose down when
// positive, the aileron command rolls left when positive, the rudder (from
// a script or the browser) yaws right when positive.
#pragma once

#include <memory>
#include <optional>

#include "host/core/host.h"
#include "host/model/geo.h"
#include "host/model/jsbsim.h"
#include "host/model/nav_database.h"

namespace z480 {

// Where and how a flight starts.
struct FlightStart {
  bool airborne = false;
  double altitude_ft = 0;  // above the field, in the air
  double speed_kts = 0;
  double heading_deg = kHomeRunwayCourse;  // the runway's course on the ground
  double east_nm = 0, north_nm = 0;  // from the runway threshold
  bool engines_running = false;
  bool gear_down = false;  // in the air: settled with the gear out
};

// The pilot's own hands, for a script or the browser: -1 to 1 each.
struct PilotControls {
  double elevator = 0;  // positive pushes
  double aileron = 0;   // positive rolls right
  double rudder = 0;    // positive yaws right
};

class FlightDynamics {
 public:
  static constexpr double kRunwayCourse = kHomeRunwayCourse;  // degrees

  // Starts the model (throws JsbsimError). In the air it first flies a
  // settling run level at the speed asked, then hands over trimmed: the
  // trim wheel and the power levers stand where they hold it. On the ground
  // engines that run are handed over at idle.
  FlightDynamics(Host &host, const FlightStart &start, JsbsimFiles files = default_jsbsim_files());

  // One host frame: controls in, the model's frame, the state out.
  void step();
  // The autopilot's servo commands and the pilot's hands.
  void on_key_event(const KeyEvent &event);
  PilotControls &pilot() { return pilot_; }
  const PilotControls &pilot() const { return pilot_; }

  // Nautical miles from the runway threshold, east and north.
  double east_nm() const { return east_nm_; }
  double north_nm() const { return north_nm_; }
  // Where the aircraft is, as the receivers take it.
  AircraftPosition position() const;
  // The last value read of one of the model's properties (0 for one not read).
  double value(const char *property) const;
  // The stall warning: in the air, the wing close to its stall.
  static constexpr double kStallWarningAlpha = 12;  // degrees
  bool stall_warning() const;
  // Both propellers' thrust, pounds (negative in reverse).
  double thrust_lbs() const;
  double ground_speed_kts() const;
  // The wheels' height above the ground, feet (0 standing on them).
  double radio_height_ft() const;

 private:
  std::vector<double> controls() const;
  void settle(const FlightStart &start);
  void spool_down();
  void start_here();
  void write_state();

  Host &host_;
  std::unique_ptr<Jsbsim> sim_;
  PilotControls pilot_;
  // The last servo commands, held between events as a real stick stays.
  std::optional<double> servo_elevator_, servo_aileron_;
  double origin_east_ft_ = 0, origin_north_ft_ = 0;  // the start, from the threshold
  double east_nm_ = 0, north_nm_ = 0;
  std::vector<double> last_;
  bool cutoff_[2] = {true, true}, starter_[2] = {false, false};
  bool started_ = false;  // the engines' selectors sent once
};

}  // namespace z480
