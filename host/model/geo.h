// Positions on the earth as the host's world has them: a sphere, latitudes
// and longitudes in degrees, courses true (the world has no magnetic
// variation), distances in nautical miles, heights in feet above sea level.
#pragma once

namespace z480 {

inline constexpr double kEarthRadiusNm = 3440.065;  // mean radius, as the traffic uses it
inline constexpr double kFeetPerNm = 6076.12;
inline constexpr double kMetresPerNm = 1852.0;

struct GeoPoint {
  double latitude = 0;   // degrees, north positive
  double longitude = 0;  // degrees, east positive
};

// The aircraft as the receivers see it.
struct AircraftPosition {
  GeoPoint at;
  double altitude_ft = 0;  // above sea level
  double heading_deg = 0;  // true
  // How high the point `altitude_ft` gives stands above the ground with the
  // wheels on it: the radio altimeter's zero.
  double height_on_ground_ft = 0;
};

// Degrees within 0 (inclusive) to 360, and within -180 to 180.
double wrap360(double degrees);
double wrap180(double degrees);

// Great-circle distance, and the initial true course from `from` to `to`
// (0 to 360; 0 for two points at the same place).
double distance_nm(GeoPoint from, GeoPoint to);
double bearing_deg(GeoPoint from, GeoPoint to);
// The point reached from `from` along the great circle of that initial course.
GeoPoint destination(GeoPoint from, double bearing_deg, double nm);

// A small neighbourhood flattened: the point so many miles east and north of
// an origin, and back. Good to a few feet within 30 NM; the flight model's
// own positions are kept this way.
GeoPoint offset_by(GeoPoint origin, double east_nm, double north_nm);
void offset_of(GeoPoint origin, GeoPoint p, double *east_nm, double *north_nm);

}  // namespace z480
