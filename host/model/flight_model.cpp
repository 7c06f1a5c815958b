#include "host/model/flight_model.h"

#include <algorithm>
#include <cmath>

#include "frame/host_names.h"
#include "host/model/model_clock.h"

namespace z480 {
namespace {

constexpr double kFrame = 1.0 / Host::kFramesPerSecond;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr double kFeetPerMinutePerKnot = 101.2686;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kHostVerticalSpeedPerFpm = kMetresPerFoot / 60.0 * 256.0;

// How fast the aircraft answers the pilot: degrees a second.
constexpr double kPitchRate = 3, kBankRate = 10;
// The speed the torque holds in level flight, and what the climb costs.
// (Idle torque taxis at 30 kt, half torque flies at 150 kt.)
constexpr double kSpeedPerTorque = 300, kSpeedPerDegreeClimb = 6;
constexpr double kSpeedResponse = 0.08;  // a second: the share of the gap closed
constexpr double kSettled = 0.01;        // knots a frame at the least
// The wing flies a little nose up: the path lies below the attitude.
constexpr double kAngleOfAttack = 2;
// Standard rate, 3 degrees a second, is one unit of the turn dial.
constexpr double kStandardRate = 3;

double wrap360(double deg) {
  deg = std::fmod(deg, 360.0);
  return deg < 0 ? deg + 360.0 : deg;
}

// Degrees from a to b, -180 to 180.
double angle_between(double a, double b) { return wrap360(b - a + 180.0) - 180.0; }

}  // namespace

void FlightModel::set_targets(double pitch, double bank) {
  target_pitch_ = pitch;
  target_bank_ = bank;
}

void FlightModel::place(Host &host, const FlightState &state) {
  state_ = state;
  target_pitch_ = state.pitch;
  target_bank_ = state.bank;
  write(host);
}

void FlightModel::step(Host &host) {
  FlightState &s = state_;
  s.pitch = move_toward(s.pitch, target_pitch_, kPitchRate * kFrame);
  s.bank = move_toward(s.bank, target_bank_, kBankRate * kFrame);
  bool on_ground = s.altitude <= 0;
  if (on_ground) s.bank = 0;

  double torque = (finite_or(host.var(kVarEngine1Torque), 0) + finite_or(host.var(kVarEngine2Torque), 0)) / 2;
  // On the wheels the path is the runway's until the nose comes up.
  double path = on_ground ? std::max(0.0, s.pitch - kAngleOfAttack) : s.pitch - kAngleOfAttack;
  double target_speed = kSpeedPerTorque * std::clamp(torque, 0.0, 1.5);
  target_speed = std::max(0.0, target_speed - kSpeedPerDegreeClimb * path);
  bool braked = finite_or(host.var(kVarBrakeLeft), 0) > 0 || finite_or(host.var(kVarBrakeRight), 0) > 0;
  if (on_ground && braked) target_speed = 0;
  // Settles on the target rather than creeping towards it for ever.
  s.airspeed = move_toward(s.airspeed, target_speed,
                           std::max(kSettled, std::fabs(target_speed - s.airspeed) * kSpeedResponse * kFrame));

  // Below flying speed the wing does not lift: on the ground it stays there,
  // in the air it sinks.
  double lift = std::clamp((s.airspeed - kRotateSpeed * 0.7) / (kRotateSpeed * 0.3), 0.0, 1.0);
  double climb = s.airspeed * kFeetPerMinutePerKnot * std::sin(path * kRadiansPerDegree);
  s.vertical_speed = lift * climb - (1 - lift) * 1500 * (on_ground ? 0 : 1);
  if (on_ground && (s.airspeed < kRotateSpeed || s.vertical_speed < 0)) s.vertical_speed = 0;
  s.altitude = std::max(0.0, s.altitude + s.vertical_speed / 60.0 * kFrame);

  double turn = s.airspeed > 1 && !on_ground
                    ? 1091.0 * std::tan(s.bank * kRadiansPerDegree) / std::max(s.airspeed, 60.0)
                    : 0;
  s.heading = wrap360(s.heading + turn * kFrame);
  double miles = s.airspeed / 3600.0 * kFrame * std::cos(path * kRadiansPerDegree);
  s.east += miles * std::sin(s.heading * kRadiansPerDegree);
  s.north += miles * std::cos(s.heading * kRadiansPerDegree);
  host.set_var(kVarTurnRate, turn / kStandardRate * 256.0);
  write(host);
}

void FlightModel::write(Host &host) const {
  const FlightState &s = state_;
  host.set_var(kVarPitch, -s.pitch);
  host.set_var(kVarBank, -s.bank);
  host.set_var(kVarHeading, s.heading);
  host.set_var(kVarIndicatedAirspeed, s.airspeed);
  host.set_var(kVarVerticalSpeed, s.vertical_speed * kHostVerticalSpeedPerFpm);
  host.set_var(kVarIndicatedAltitude, s.altitude);
  host.set_var(kVarRadioHeight, s.altitude * kMetresPerFoot);
  IlsDeviation d = ils_deviation(s);
  host.set_var(kVarHsiLateralDeviation, d.lateral);
  host.set_var(kVarHsiGlideSlopeDeviation, d.vertical);
}

IlsDeviation ils_deviation(const FlightState &s) {
  // Angles seen from the threshold: the aircraft's bearing against the
  // approach course, and its elevation against the glide path.
  double distance = std::hypot(s.east, s.north);
  if (distance < 1e-6) return {};
  double bearing_from_runway = std::atan2(s.east, s.north) / kRadiansPerDegree;
  double off = angle_between(FlightModel::kRunwayCourse + 180.0, bearing_from_runway);
  double elevation = std::atan2(s.altitude, distance * 6076.12) / kRadiansPerDegree;
  return {std::clamp(off / FlightModel::kLocalizerFullScale, -1.0, 1.0),
          std::clamp((FlightModel::kGlidePath - elevation) / FlightModel::kGlideSlopeFullScale, -1.0, 1.0)};
}

}  // namespace z480
