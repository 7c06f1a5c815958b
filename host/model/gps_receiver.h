// The GPS as the HSI's source when the NAV/GPS selector is on GPS: a course
// through a waypoint, selected on the HSI, flown as a line over the ground.
// Its deviation is the cross-track distance at the terminal area's scale,
// not an angle as a VOR's or a localizer's is, so it does not narrow toward
// the waypoint; it gives no glideslope.
#pragma once

#include "host/model/geo.h"

namespace z480 {

// Cross-track miles at full deflection.
inline constexpr double kGpsFullScaleNm = 1.0;

struct GpsReading {
  bool course = false;  // the deviation and TO/FROM mean something
  // -1 to 1, positive when the course lies to the right, as NAV 1's.
  double lateral = 0;
  int to_from = 0;      // 1 short of the waypoint, -1 past it
  double distance_nm = 0;  // to the waypoint
};

// The course line through `waypoint` on the true course `course_deg`; no
// course from a non-finite course or position.
GpsReading gps_course(GeoPoint waypoint, double course_deg, GeoPoint aircraft);

}  // namespace z480
