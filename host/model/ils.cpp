#include "host/model/ils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace z480 {
namespace {

constexpr double kFeetPerNm = 6076.12;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Degrees from a to b, -180 to 180.
double angle_between(double a, double b) {
  double d = std::fmod(b - a + 180.0, 360.0);
  return (d < 0 ? d + 360.0 : d) - 180.0;
}

}  // namespace

IlsDeviation ils_deviation(double east_nm, double north_nm, double altitude_ft) {
  // Angles seen from the threshold: the aircraft's bearing against the
  // approach course, and its elevation against the glide path.
  double distance = std::hypot(east_nm, north_nm);
  if (!(distance > 1e-6) || !std::isfinite(distance) || !std::isfinite(altitude_ft)) return {};
  double bearing = std::atan2(east_nm, north_nm) / kRadiansPerDegree;
  double off = angle_between(kIlsRunwayCourse + 180.0, bearing);
  double elevation = std::atan2(altitude_ft, distance * kFeetPerNm) / kRadiansPerDegree;
  return {std::clamp(off / kLocalizerFullScale, -1.0, 1.0),
          std::clamp((kIlsGlidePath - elevation) / kGlideSlopeFullScale, -1.0, 1.0)};
}

}  // namespace z480
