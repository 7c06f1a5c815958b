#include "host/model/traffic_pattern.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace z480 {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

double segment_nm(const PathPoint &a, const PathPoint &b) {
  return std::hypot(b.along_nm - a.along_nm, b.right_nm - a.right_nm);
}

// Where along its path an aircraft is: the segment and the share of it.
struct OnPath {
  const PathPoint *from, *to;
  double share, length;
};

OnPath locate(const TrafficPath &p, double at_nm) {
  std::size_t n = p.points.size();
  std::size_t segments = p.closed ? n : n - 1;
  double start = 0;
  for (std::size_t i = 0; i < segments; ++i) {
    const PathPoint &a = p.points[i], &b = p.points[(i + 1) % n];
    double len = segment_nm(a, b);
    if (at_nm < start + len || i + 1 == segments)
      return {&a, &b, len > 0 ? std::clamp((at_nm - start) / len, 0.0, 1.0) : 0.0, len};
    start += len;
  }
  return {&p.points[0], &p.points[0], 0, 0};
}

double mix(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

std::vector<TrafficPath> home_traffic_paths(const NavDatabase &db) {
  const Runway *left = &db.runways[0], *right = db.runways.size() > 1 ? &db.runways[1] : left;
  return {
      // The left-hand circuit at 1000 ft, touch and go.
      {"CIRCUIT", 101, left,
       {{0.2, 0, 0, 75}, {1.2, 0, 0, 80}, {2.5, 0, 500, 90}, {3.2, -0.6, 900, 95},
        {2.6, -1.5, 1000, 100}, {-1.5, -1.5, 1000, 100}, {-2.8, -1.0, 900, 95},
        {-3.0, 0, 900, 90}, {0, 0, 50, 75}},
       true},
      // Straight in from 15 NM, joining the glide path at 10.
      {"ARRIVAL", 102, right,
       {{-15, 0, 5000, 220}, {-10, 0, 3200, 180}, {-4, 0, 1300, 150}, {0, 0, 50, 140},
        {1.0, 0, 0, 60}},
       false},
      // Off 27L, climbing out and turning south.
      {"DEPART", 103, left,
       {{1.0, 0, 0, 130}, {4, 0, 1800, 170}, {6, -2, 3000, 200}, {7, -8, 5000, 220},
        {7.5, -14, 6000, 250}},
       false},
  };
}

TrafficPatterns::TrafficPatterns(const NavDatabase &db) : db_(db) {
  for (TrafficPath &p : home_traffic_paths(db)) {
    Flier f;
    f.path = std::move(p);
    const auto &pts = f.path.points;
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) f.lap_nm += segment_nm(pts[i], pts[i + 1]);
    if (f.path.closed) f.lap_nm += segment_nm(pts.back(), pts.front());
    fliers_.push_back(std::move(f));
  }
}

void TrafficPatterns::place(HostTraffic &traffic, const Flier &f) const {
  OnPath on = locate(f.path, f.at_nm);
  const Runway &r = *f.path.runway;
  double along = mix(on.from->along_nm, on.to->along_nm, on.share);
  double right = mix(on.from->right_nm, on.to->right_nm, on.share);
  double knots = mix(on.from->knots, on.to->knots, on.share);
  HostAircraft a;
  a.id = f.id();
  GeoPoint p = destination(destination(r.threshold, r.course_deg, along), r.course_deg + 90, right);
  a.latitude = p.latitude;
  a.longitude = p.longitude;
  a.altitude = db_.elevation_ft + mix(on.from->height_ft, on.to->height_ft, on.share);
  double dx = on.to->along_nm - on.from->along_nm, dy = on.to->right_nm - on.from->right_nm;
  a.track = wrap360(r.course_deg + std::atan2(dy, dx) / kRadians);
  a.speed = knots;
  a.vertical_speed = on.length > 0 ? (on.to->height_ft - on.from->height_ft) / on.length * knots / 60 : 0;
  a.atc = f.path.atc;
  traffic.put(a);
}

void TrafficPatterns::put_crosser(HostTraffic &traffic, const AircraftPosition &user) {
  double heading = std::isfinite(user.heading_deg) ? user.heading_deg : 0;
  GeoPoint ahead = destination(user.at, heading, kCrosserAheadNm);
  GeoPoint at = destination(ahead, heading + 90, kCrosserAsideNm);
  HostAircraft a;
  a.id = crosser_id_;
  a.latitude = at.latitude;
  a.longitude = at.longitude;
  a.altitude = user.altitude_ft + kCrosserAboveFt;
  a.track = wrap360(heading + 180);
  a.speed = kCrosserKnots;
  a.atc = "CROSSER";
  traffic.put(a);
}

void TrafficPatterns::start(HostTraffic &traffic, const AircraftPosition &user) {
  stop(traffic);
  for (Flier &f : fliers_) {
    f.at_nm = 0;
    place(traffic, f);
  }
  put_crosser(traffic, user);
  flying_ = true;
}

void TrafficPatterns::fly(HostTraffic &traffic, const AircraftPosition &user, double seconds) {
  if (!flying_) return;
  for (Flier &f : fliers_) {
    OnPath on = locate(f.path, f.at_nm);
    f.at_nm += mix(on.from->knots, on.to->knots, on.share) * seconds / 3600;
    if (f.at_nm >= f.lap_nm) {
      if (f.path.closed) {
        f.at_nm = std::fmod(f.at_nm, f.lap_nm);
      } else {
        traffic.remove(f.id());
        f.at_nm = 0;
        ++f.lap;
      }
    }
    place(traffic, f);
  }
  // The crosser flies straight on by itself; once well behind, it comes
  // round again ahead.
  const HostAircraft *c = traffic.find(crosser_id_);
  GeoPoint at = c ? GeoPoint{c->latitude, c->longitude} : user.at;
  bool behind = std::fabs(wrap180(bearing_deg(user.at, at) - user.heading_deg)) > 90;
  if (!c || (behind && distance_nm(user.at, at) > kCrosserAheadNm)) {
    traffic.remove(crosser_id_);
    crosser_id_ += 10;
    put_crosser(traffic, user);
  }
}

void TrafficPatterns::stop(HostTraffic &traffic) {
  for (const Flier &f : fliers_) traffic.remove(f.id());
  traffic.remove(crosser_id_);
  flying_ = false;
}

}  // namespace z480
