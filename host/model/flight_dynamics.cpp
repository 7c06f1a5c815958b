#include "host/model/flight_dynamics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "frame/host_names.h"
#include "host/model/model_clock.h"

namespace z480 {
namespace {

constexpr double kMetresPerFoot = 0.3048;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// The aircraft's own figures the host's units are taken from.
constexpr double kRatedPropRpm = 1700;
constexpr double kTankCapacityLbs = 1400;
constexpr double kFullTank = 8388608;  // the host's full quantity
constexpr double kTravel = 16383;      // gear and flap positions, levers
constexpr double kBrakeFullScale = 32768;
constexpr double kTrimStopRad = 0.2617993877991494;  // the trim wheel's 15 degrees
constexpr double kReverseStop = -0.25;               // power lever in full reverse
constexpr double kFeatherBelow = 0.02;               // propeller lever at its bottom stop
constexpr double kCgHeightFt = 5.94;                 // on its wheels: the radio height's zero
constexpr double kBallFullScale = 127;               // the ball at its end ...
constexpr double kBallFullLoad = 0.2;                // ... for this sideways load (g)
constexpr double kStarterCutoutN2 = 50;              // the starter lets go here
constexpr double kPumpVolts = 20;                    // main bus volts the boost pumps need
constexpr double kRankineAtZeroC = 491.67;
constexpr double kPsfPerPsi = 144;

// The controls JSBSim takes, in the order controls() gives them; the
// start/cut-off selectors come last and are sent as ordered commands.
const std::vector<std::string> kWrites = {
    "fcs/elevator-cmd-norm",    "fcs/aileron-cmd-norm",      "fcs/rudder-cmd-norm",
    "z480/pitch-trim-norm",     "fcs/flap-cmd-norm",         "gear/gear-cmd-norm",
    "fcs/left-brake-cmd-norm",  "fcs/right-brake-cmd-norm",  "fcs/throttle-cmd-norm",
    "fcs/throttle-cmd-norm[1]", "propulsion/engine/reverser", "propulsion/engine[1]/reverser",
    "fcs/advance-cmd-norm",     "fcs/advance-cmd-norm[1]",   "fcs/feather-cmd-norm",
    "fcs/feather-cmd-norm[1]",  "z480/fuel-pump-1",          "z480/fuel-pump-2",
    "propulsion/active_engine", "propulsion/starter_cmd",    "propulsion/cutoff_cmd",
};

// A host variable that is a linear function of a JSBSim property.
struct Reading {
  const char *property;
  std::int32_t token;
  double scale, offset = 0;
};
const Reading kReadings[] = {
    {"velocities/vc-kts", kVarIndicatedAirspeed, 1},
    {"position/h-sl-ft", kVarIndicatedAltitude, 1},
    {"velocities/h-dot-fps", kVarVerticalSpeed, kMetresPerFoot * 256},
    // The host's pitch is nose down and its bank left wing down positive.
    {"attitude/theta-deg", kVarPitch, -1},
    {"attitude/phi-deg", kVarBank, -1},
    {"attitude/psi-deg", kVarHeading, 1},
    // Standard rate, 3 degrees a second, is one unit (256) of the turn dial.
    {"velocities/psidot-rad_sec", kVarTurnRate, 256 / (3 * kRadiansPerDegree)},
    {"atmosphere/T-R", kVarOutsideAirTemperature, 1 / 1.8, -kRankineAtZeroC / 1.8},
    {"propulsion/engine[0]/n1", kVarEngine1N2, 1},
    {"propulsion/engine[1]/n1", kVarEngine2N2, 1},
    {"z480/torque-1", kVarEngine1Torque, 1},
    {"z480/torque-2", kVarEngine2Torque, 1},
    {"propulsion/engine[0]/itt-c", kVarEngine1Egt, 1.8, kRankineAtZeroC},
    {"propulsion/engine[1]/itt-c", kVarEngine2Egt, 1.8, kRankineAtZeroC},
    {"propulsion/engine[0]/fuel-flow-rate-pps", kVarEngine1FuelFlow, 3600},
    {"propulsion/engine[1]/fuel-flow-rate-pps", kVarEngine2FuelFlow, 3600},
    {"z480/oil-pressure-psi-1", kVarEngine1OilPressure, kPsfPerPsi},
    {"z480/oil-pressure-psi-2", kVarEngine2OilPressure, kPsfPerPsi},
    {"z480/oil-temperature-c-1", kVarEngine1OilTemperature, 1.8, kRankineAtZeroC},
    {"z480/oil-temperature-c-2", kVarEngine2OilTemperature, 1.8, kRankineAtZeroC},
    {"propulsion/engine[0]/propeller-rpm", kVarEngine1PropRpm, 1 / kRatedPropRpm},
    {"propulsion/engine[1]/propeller-rpm", kVarEngine2PropRpm, 1 / kRatedPropRpm},
    {"propulsion/tank[0]/contents-lbs", kVarFuelLeftQuantity, kFullTank / kTankCapacityLbs},
    {"propulsion/tank[1]/contents-lbs", kVarFuelRightQuantity, kFullTank / kTankCapacityLbs},
    {"z480/fuel-pressure-psi-1", kVarEngine1FuelPressure, kPsfPerPsi},
    {"z480/fuel-pressure-psi-2", kVarEngine2FuelPressure, kPsfPerPsi},
    {"z480/hydraulic-pressure-psi-1", kVarHydraulic1Pressure, kPsfPerPsi},
    {"z480/hydraulic-pressure-psi-2", kVarHydraulic2Pressure, kPsfPerPsi},
    {"gear/gear-pos-norm", kVarGearNosePosition, kTravel},
    {"gear/gear-pos-norm", kVarGearLeftPosition, kTravel},
    {"gear/gear-pos-norm", kVarGearRightPosition, kTravel},
    {"fcs/flap-pos-norm", kVarFlapPosition, kTravel},
};
// Read as well, for what is not a plain host variable.
const char *const kOtherReads[] = {
    "z480/north-ft",       "z480/east-ft",          "position/h-agl-ft",
    "accelerations/n-pilot-y-norm", "gear/wow",     "velocities/q-rad_sec",
    "velocities/p-rad_sec", "aero/beta-deg",        "aero/alpha-deg",
    "propulsion/engine[0]/thrust-lbs", "propulsion/engine[1]/thrust-lbs",
    "velocities/vg-fps",   "velocities/r-rad_sec",
};
struct PowerCommand {
  double throttle;
  double reverser;  // 1: the blade under the reverser's command
};

// A power lever's command. Below idle it runs through the beta range into
// reverse on the ground; in the air a gate holds it at idle. Moved up out
// of reverse, the reverser lets go at once: the governor takes the blade
// back to its fine stop (JSBSim's reverser would turn it up only slowly, and
// through angles where idle power overspeeds the propeller its governor holds
// it in reverse).
PowerCommand power_command(double lever, bool on_ground) {
  if (lever >= 0 || !on_ground) return {std::max(lever, 0.0), 0};
  return {lever / kReverseStop, 1};
}

std::vector<std::string> read_list() {
  std::vector<std::string> reads;
  for (const auto &r : kReadings) reads.emplace_back(r.property);
  for (const char *p : kOtherReads) reads.emplace_back(p);
  return reads;
}

struct EngineTokens {
  std::int32_t power_lever, prop_lever, fuel_cock, fuel_pump, starter, n2;
};
constexpr EngineTokens kEngines[] = {
    {kVarEngine1PowerLever, kVarEngine1PropLever, kVarEngine1FuelCock, kVarEngine1FuelPump,
     kVarEngine1Starter, kVarEngine1N2},
    {kVarEngine2PowerLever, kVarEngine2PropLever, kVarEngine2FuelCock, kVarEngine2FuelPump,
     kVarEngine2Starter, kVarEngine2N2},
};

double command_fraction(std::uint32_t value) {
  return std::clamp(static_cast<std::int32_t>(value) / kAxisFullScale, -1.0, 1.0);
}

JsbsimStart jsbsim_start(const FlightStart &s) {
  GeoPoint at = offset_by(home_runway().threshold, s.east_nm, s.north_nm);
  return {at.latitude,
          at.longitude,
          s.airborne ? std::max(s.altitude_ft, 100.0) : 0.0,
          s.airborne ? s.speed_kts : 0.0,
          wrap360(s.heading_deg),
          s.engines_running || s.airborne,
          nav_database().elevation_ft};
}

}  // namespace

FlightDynamics::FlightDynamics(Host &host, const FlightStart &start, JsbsimFiles files)
    : host_(host),
      sim_(std::make_unique<Jsbsim>(files, jsbsim_start(start), kWrites, read_list())),
      origin_east_ft_(start.east_nm * kFeetPerNm),
      origin_north_ft_(start.north_nm * kFeetPerNm),
      last_(read_list().size(), 0.0) {
  bool running = start.engines_running || start.airborne;
  for (int i = 0; i < 2; ++i) cutoff_[i] = !running;
  if (running) {
    // The levers and switches of engines that run.
    for (const auto &e : kEngines) {
      host_.set_var(e.fuel_cock, 1);
      host_.set_var(e.prop_lever, 1);
    }
  }
  if (start.airborne) {
    host_.set_var(kVarGearLever, start.gear_down ? kTravel : 0);
    settle(start);
  } else {
    host_.set_var(kVarGearLever, kTravel);
    if (running) spool_down();
    else step();
  }
}

AircraftPosition FlightDynamics::position() const {
  return {offset_by(home_runway().threshold, east_nm_, north_nm_), value("position/h-sl-ft"),
          host_.var(kVarHeading), kCgHeightFt};
}

double FlightDynamics::value(const char *property) const {
  int i = sim_->read_index(property);
  return i < 0 ? 0.0 : last_[i];
}

bool FlightDynamics::stall_warning() const {
  return value("gear/wow") == 0 && value("aero/alpha-deg") >= kStallWarningAlpha;
}

double FlightDynamics::thrust_lbs() const {
  return value("propulsion/engine[0]/thrust-lbs") + value("propulsion/engine[1]/thrust-lbs");
}

double FlightDynamics::radio_height_ft() const { return value("position/h-agl-ft") - kCgHeightFt; }

double FlightDynamics::ground_speed_kts() const { return value("velocities/vg-fps") / kFeetPerNm * 3600; }

std::vector<double> FlightDynamics::controls() const {
  Host &h = host_;
  double elevator = std::clamp(pilot_.elevator + servo_elevator_.value_or(0), -1.0, 1.0);
  double aileron = std::clamp(pilot_.aileron - servo_aileron_.value_or(0), -1.0, 1.0);
  double rudder = std::clamp(finite_or(pilot_.rudder, 0), -1.0, 1.0);
  double trim = std::clamp(finite_or(h.var(kVarElevatorTrim), 0) / kTrimStopRad, -1.0, 1.0);
  double flaps = std::clamp(finite_or(h.var(kVarFlapLever), 0) / kTravel, 0.0, 1.0);
  // The squat switch keeps the gear down while the wheels bear weight.
  double gear = std::clamp(finite_or(h.var(kVarGearLever), kTravel) / kTravel, 0.0, 1.0);
  if (value("gear/wow") != 0) gear = 1;
  double brake_left = std::clamp(finite_or(h.var(kVarBrakeLeft), 0) / kBrakeFullScale, 0.0, 1.0);
  double brake_right = std::clamp(finite_or(h.var(kVarBrakeRight), 0) / kBrakeFullScale, 0.0, 1.0);
  std::vector<double> v = {elevator, aileron, rudder, trim, flaps, gear, brake_left, brake_right};
  double throttle[2], reverser[2], advance[2], feather[2], pump[2];
  bool powered = h.var(kVarMainBusVoltage) > kPumpVolts;
  for (int i = 0; i < 2; ++i) {
    const EngineTokens &e = kEngines[i];
    double lever = std::clamp(finite_or(h.var(e.power_lever), 0), kReverseStop, 1.0);
    PowerCommand power = power_command(lever, value("gear/wow") != 0);
    reverser[i] = power.reverser;
    throttle[i] = power.throttle;
    double prop = std::clamp(finite_or(h.var(e.prop_lever), 0), 0.0, 1.0);
    feather[i] = prop < kFeatherBelow ? 1 : 0;
    advance[i] = prop;
    pump[i] = powered && h.var(e.fuel_pump) > 0 ? 1 : 0;
  }
  for (double x : {throttle[0], throttle[1], reverser[0], reverser[1], advance[0], advance[1],
                   feather[0], feather[1], pump[0], pump[1]})
    v.push_back(x);
  return v;
}

void FlightDynamics::on_key_event(const KeyEvent &event) {
  if (event.id == kEventElevatorSet) servo_elevator_ = command_fraction(event.value);
  if (event.id == kEventAileronSet) servo_aileron_ = command_fraction(event.value);
}

void FlightDynamics::step() {
  std::vector<Jsbsim::Command> commands;
  for (int i = 0; i < 2; ++i) {
    const EngineTokens &e = kEngines[i];
    // The starter lets go by itself once the engine runs on its own.
    if (host_.var(e.starter) == 1.0 && host_.var(e.n2) >= kStarterCutoutN2) host_.set_var(e.starter, 0);
    bool starter = host_.var(e.starter) == 1.0;
    bool cutoff = !(host_.var(e.fuel_cock) > 0);
    if (starter != starter_[i] || cutoff != cutoff_[i] || !started_) {
      commands.push_back({"propulsion/active_engine", i});
      commands.push_back({"propulsion/starter_cmd", starter ? 1 : 0});
      commands.push_back({"propulsion/cutoff_cmd", cutoff ? 1 : 0});
      starter_[i] = starter;
      cutoff_[i] = cutoff;
    }
  }
  started_ = true;
  last_ = sim_->frame(controls(), commands);
  write_state();
}

void FlightDynamics::write_state() {
  const std::vector<double> &v = last_;
  std::size_t i = 0;
  for (const auto &r : kReadings) host_.set_var(r.token, v[i++] * r.scale + r.offset);
  host_.set_var(kVarHeading, wrap360(host_.var(kVarHeading)));
  east_nm_ = (origin_east_ft_ + value("z480/east-ft")) / kFeetPerNm;
  north_nm_ = (origin_north_ft_ + value("z480/north-ft")) / kFeetPerNm;
  double ball = -value("accelerations/n-pilot-y-norm") / kBallFullLoad * kBallFullScale;
  host_.set_var(kVarTurnBall, std::clamp(ball, -kBallFullScale, kBallFullScale));
}

void FlightDynamics::settle(const FlightStart &start) {
  // Our own trim: fly level at the speed asked with the stick and the power,
  // as a pilot would, until the aircraft is steady; then the trim wheel
  // takes over the stick and the power levers stand where the power was.
  // (JSBSim's trimmer does not work with its turboprop engine.)
  constexpr int kSettleFrames = 40 * Host::kFramesPerSecond;
  constexpr double kFrame = 1.0 / Host::kFramesPerSecond;
  double target_alt = value("position/h-sl-ft");
  double power = 0.5, power_sum = 0.5, attitude = 2, attitude_sum = 2, elevator_sum = 0;
  double last_speed = start.speed_kts;
  for (int f = 0; f < kSettleFrames; ++f) {
    for (const auto &e : kEngines) host_.set_var(e.power_lever, power);
    step();
    if (f == 0) target_alt = value("position/h-sl-ft");
    double climb_fpm = value("velocities/h-dot-fps") * 60;
    double wanted_fpm = std::clamp((target_alt - value("position/h-sl-ft")) * 3, -1500.0, 1500.0);
    double vs_error = (wanted_fpm - climb_fpm) / 400;
    attitude_sum = std::clamp(attitude_sum + vs_error * 0.5 * kFrame, -15.0, 25.0);
    attitude = std::clamp(attitude_sum + vs_error, -15.0, 25.0);
    double pitch_error = (value("attitude/theta-deg") - attitude) / 10;
    elevator_sum = std::clamp(elevator_sum + pitch_error * 0.8 * kFrame, -1.0, 1.0);
    pilot_.elevator = std::clamp(1.5 * pitch_error + elevator_sum + 1.5 * value("velocities/q-rad_sec"), -1.0, 1.0);
    pilot_.aileron = std::clamp(value("attitude/phi-deg") / -20 - 2 * value("velocities/p-rad_sec"), -1.0, 1.0);
    pilot_.rudder = std::clamp(value("aero/beta-deg") / 5, -1.0, 1.0);
    double speed_error = start.speed_kts - value("velocities/vc-kts");
    // The engines answer in seconds: a steady hand on the levers, not a
    // quick one, or the speed swings from idle to full power and back.
    double speeding_up = (value("velocities/vc-kts") - last_speed) / kFrame;
    last_speed = value("velocities/vc-kts");
    power_sum = std::clamp(power_sum + speed_error * 0.005 * kFrame, 0.0, 1.0);
    power = std::clamp(power_sum + speed_error * 0.05 - speeding_up * 0.2, 0.0, 1.0);
  }
  // Hands off: the elevator the wheel holds, the stick centred.
  constexpr double kTrimWorth = 0.55;  // elevator travel at full trim (aircraft/z480)
  double trim = std::clamp(-pilot_.elevator / kTrimWorth, -1.0, 1.0);
  host_.set_var(kVarElevatorTrim, trim * kTrimStopRad);
  pilot_ = {};
  start_here();
}

void FlightDynamics::spool_down() {
  // JSBSim brings running engines up at full throttle; they run down to
  // idle on the brakes before the flight starts.
  constexpr int kMostFrames = 60 * Host::kFramesPerSecond;
  constexpr double kIdleN1 = 62, kSettled = 0.3;  // percent (aircraft/z480)
  const double brakes[2] = {host_.var(kVarBrakeLeft), host_.var(kVarBrakeRight)};
  host_.set_var(kVarBrakeLeft, kBrakeFullScale);
  host_.set_var(kVarBrakeRight, kBrakeFullScale);
  for (const auto &e : kEngines) host_.set_var(e.power_lever, 0);
  for (int f = 0; f < kMostFrames; ++f) {
    step();
    if (host_.var(kVarEngine1N2) < kIdleN1 + kSettled && host_.var(kVarEngine2N2) < kIdleN1 + kSettled) break;
  }
  host_.set_var(kVarBrakeLeft, brakes[0]);
  host_.set_var(kVarBrakeRight, brakes[1]);
  start_here();
}

void FlightDynamics::start_here() {
  // Where the settling run ended counts as the start.
  origin_east_ft_ -= value("z480/east-ft");
  origin_north_ft_ -= value("z480/north-ft");
  write_state();
}

}  // namespace z480
