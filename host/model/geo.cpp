#include "host/model/geo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace z480 {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kNmPerDegree = kEarthRadiusNm * kRadians;

}  // namespace

double wrap360(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d < 0) d += 360.0;
  return d >= 360.0 ? 0.0 : d;  // -1e-17 lands on 360 after the addition
}

double wrap180(double degrees) { return wrap360(degrees + 180.0) - 180.0; }

double distance_nm(GeoPoint a, GeoPoint b) {
  double dlat = std::sin((b.latitude - a.latitude) * kRadians / 2);
  double dlon = std::sin((b.longitude - a.longitude) * kRadians / 2);
  double h = dlat * dlat +
             std::cos(a.latitude * kRadians) * std::cos(b.latitude * kRadians) * dlon * dlon;
  return 2 * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0))) * kEarthRadiusNm;
}

double bearing_deg(GeoPoint a, GeoPoint b) {
  double lat1 = a.latitude * kRadians, lat2 = b.latitude * kRadians;
  double dlon = (b.longitude - a.longitude) * kRadians;
  double y = std::sin(dlon) * std::cos(lat2);
  double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dlon);
  if (y == 0 && x == 0) return 0;
  return wrap360(std::atan2(y, x) / kRadians);
}

GeoPoint destination(GeoPoint from, double bearing, double nm) {
  double lat1 = from.latitude * kRadians, course = bearing * kRadians;
  double d = nm / kEarthRadiusNm;
  double lat2 = std::asin(std::clamp(
      std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(course), -1.0, 1.0));
  double dlon = std::atan2(std::sin(course) * std::sin(d) * std::cos(lat1),
                           std::cos(d) - std::sin(lat1) * std::sin(lat2));
  return {lat2 / kRadians, wrap180(from.longitude + dlon / kRadians)};
}

GeoPoint offset_by(GeoPoint origin, double east_nm, double north_nm) {
  double parallel = std::cos(origin.latitude * kRadians) * kNmPerDegree;
  return {origin.latitude + north_nm / kNmPerDegree, origin.longitude + east_nm / parallel};
}

void offset_of(GeoPoint origin, GeoPoint p, double *east_nm, double *north_nm) {
  double parallel = std::cos(origin.latitude * kRadians) * kNmPerDegree;
  *east_nm = (p.longitude - origin.longitude) * parallel;
  *north_nm = (p.latitude - origin.latitude) * kNmPerDegree;
}

}  // namespace z480
