#include "host/model/nav_receiver.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace z480 {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kSameChannelMhz = 0.005;
constexpr double kAntennaHeightFt = 20;
constexpr double kWeakest = 256, kStrongest = 1024;

// Localizer coverage: 25 NM within 10 degrees of its course line, 17 NM
// within 35 degrees; the glideslope 10 NM within 8 degrees of the front course.
constexpr double kLocalizerNarrowDeg = 10, kLocalizerNarrowNm = 25;
constexpr double kLocalizerWideDeg = 35, kLocalizerWideNm = 17;
constexpr double kGlideslopeWidthDeg = 8, kGlideslopeRangeNm = 10;

double height_above_ground(const NavDatabase &db, double altitude_ft) {
  return std::max(0.0, altitude_ft - db.elevation_ft);
}

double slant_nm(double ground_nm, double height_ft) {
  return std::hypot(ground_nm, height_ft / kFeetPerNm);
}

// How much of its range a station at this distance leaves: 0 at its edge.
double margin(double distance, double range) { return std::clamp(1 - distance / range, 0.0, 1.0); }

double signal_of(double m) { return kWeakest + (kStrongest - kWeakest) * m; }

bool on_channel(double a, double b) { return std::fabs(a - b) < kSameChannelMhz; }

double station_reach(const NavDatabase &db, double aircraft_alt, double station_elev, double range) {
  double antenna = std::max(0.0, station_elev - db.elevation_ft) + kAntennaHeightFt;
  return std::min(range, line_of_sight_nm(height_above_ground(db, aircraft_alt), antenna));
}

NavReading from_vor(const VorStation &v, double course, const AircraftPosition &p,
                    double distance, double reach) {
  NavReading r;
  r.received = true;
  r.signal = signal_of(margin(distance, reach));
  double height = p.altitude_ft - v.elevation_ft;
  double elevation_angle = std::atan2(height, distance * kFeetPerNm) / kRadians;
  if (v.dme) {
    r.dme = true;
    r.dme_nm = slant_nm(distance, height);
  }
  if (elevation_angle > 90 - kVorConeDeg) return r;  // overhead: no bearing
  double radial = bearing_deg(v.at, p.at);
  r.bearing = r.course = true;
  r.bearing_to_deg = wrap360(radial + 180);
  if (std::fabs(wrap180(r.bearing_to_deg - course)) < 90) {
    r.to_from = 1;
    r.lateral = wrap180(radial - (course + 180)) / kVorFullScaleDeg;
  } else {
    r.to_from = -1;
    r.lateral = -wrap180(radial - course) / kVorFullScaleDeg;
  }
  r.lateral = std::clamp(r.lateral, -1.0, 1.0);
  return r;
}

// The localizer's reach at this angle off its course line; 0 outside.
double localizer_reach(double off_deg) {
  double a = std::fabs(off_deg);
  if (a <= kLocalizerNarrowDeg) return kLocalizerNarrowNm;
  if (a <= kLocalizerWideDeg) return kLocalizerWideNm;
  return 0;
}

void glideslope(const Localizer &l, const AircraftPosition &p, NavReading &r) {
  if (l.glide_path_deg <= 0) return;
  double d = distance_nm(l.glideslope, p.at);
  double off = wrap180(bearing_deg(l.glideslope, p.at) - (l.course_deg + 180));
  // Only ahead of the antenna, on the approach side, within its sector.
  if (!(d <= kGlideslopeRangeNm) || std::fabs(off) > 90) return;
  double off_course = wrap180(bearing_deg(l.antenna, p.at) - (l.course_deg + 180));
  if (std::fabs(off_course) > kGlideslopeWidthDeg) return;
  double height = p.altitude_ft - l.glideslope_elevation_ft;
  double angle = std::atan2(height, d * kFeetPerNm) / kRadians;
  r.glideslope = true;
  r.vertical = std::clamp((angle - l.glide_path_deg) / (kGlideslopeFullScale * l.glide_path_deg), -1.0, 1.0);
}

// The reading of a localizer heard at that distance and reach.
NavReading from_localizer(const Localizer &l, const AircraftPosition &p, double front_off,
                          double distance, double reach) {
  NavReading r;
  r.received = r.localizer = r.course = true;
  r.signal = signal_of(margin(distance, reach));
  // One line through the antenna: the same side of it deflects the same
  // way ahead of it and behind, so the back course reads reversed.
  double angle = std::fabs(front_off) <= 90 ? front_off : -wrap180(bearing_deg(l.antenna, p.at) - l.course_deg);
  r.lateral = std::clamp(angle / l.half_width_deg, -1.0, 1.0);
  r.bearing_to_deg = bearing_deg(p.at, l.antenna);
  if (std::fabs(front_off) <= 90) glideslope(l, p, r);
  // The DME stands at the glideslope antenna; it answers on both courses.
  r.dme = true;
  r.dme_nm = slant_nm(distance_nm(l.glideslope, p.at), p.altitude_ft - l.glideslope_elevation_ft);
  return r;
}

}  // namespace

double line_of_sight_nm(double aircraft_height_ft, double antenna_height_ft) {
  return 1.23 * (std::sqrt(std::max(0.0, aircraft_height_ft)) + std::sqrt(std::max(0.0, antenna_height_ft)));
}

NavReading nav_receive(const NavDatabase &db, double mhz, double course_deg, const AircraftPosition &p) {
  NavReading best;
  double best_margin = -1;
  auto offer = [&](const NavReading &r, double m) {
    if (m > best_margin) {
      best = r;
      best_margin = m;
    }
  };
  if (!std::isfinite(mhz) || !std::isfinite(p.altitude_ft)) return best;
  if (!std::isfinite(course_deg)) course_deg = 0;
  for (const VorStation &v : db.vors) {
    if (!on_channel(v.mhz, mhz)) continue;
    double d = distance_nm(v.at, p.at), reach = station_reach(db, p.altitude_ft, v.elevation_ft, v.range_nm);
    if (d <= reach) offer(from_vor(v, course_deg, p, d, reach), margin(d, reach));
  }
  for (const Localizer &l : db.localizers) {
    if (!on_channel(l.mhz, mhz)) continue;
    double d = distance_nm(l.antenna, p.at);
    double front_off = wrap180(bearing_deg(l.antenna, p.at) - (l.course_deg + 180));
    double line_off = std::fabs(front_off) <= 90 ? front_off : wrap180(front_off + 180);
    if (std::fabs(front_off) > 90 && !l.back_course) continue;
    double reach = std::min(localizer_reach(line_off),
                            station_reach(db, p.altitude_ft, l.elevation_ft, kLocalizerNarrowNm));
    if (d <= reach) offer(from_localizer(l, p, front_off, d, reach), margin(d, reach));
  }
  return best;
}

}  // namespace z480
