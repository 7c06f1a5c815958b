#include "host/model/gps_receiver.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace z480 {

namespace {
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
}

GpsReading gps_course(GeoPoint waypoint, double course_deg, GeoPoint aircraft) {
  GpsReading r;
  if (!std::isfinite(course_deg) || !std::isfinite(aircraft.latitude) ||
      !std::isfinite(aircraft.longitude))
    return r;
  double d = distance_nm(waypoint, aircraft);
  // The aircraft seen from the waypoint, against the course: straight
  // behind it (short of the waypoint) is 180 degrees.
  double off = wrap180(bearing_deg(waypoint, aircraft) - course_deg) * kRadiansPerDegree;
  double cross_track = -d * std::sin(off);  // right of the line: negative
  r.course = true;
  r.lateral = std::clamp(cross_track / kGpsFullScaleNm, -1.0, 1.0);
  r.to_from = std::cos(off) <= 0 ? 1 : -1;
  r.distance_nm = d;
  return r;
}

}  // namespace z480
