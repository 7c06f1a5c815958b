#include "host/model/nav_database.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace z480 {
namespace {

constexpr double kFieldElevationFt = 83;
constexpr double kFeetPerMetre = 3.28084;

// Where an ILS's parts stand about its runway, as they usually do: the
// localizer 300 m beyond the stop end, its course sector 700 ft wide at the
// threshold; the glideslope 300 m in from the threshold and 120 m to the
// left, which puts the path 52 ft over the threshold.
constexpr double kLocalizerBeyondEndM = 300;
constexpr double kSectorHalfWidthAtThresholdFt = 350;
constexpr double kGlideslopeInM = 300;
constexpr double kGlideslopeAsideM = 120;

struct RunwayData {
  const char *ident;
  GeoPoint threshold;
  double elevation_ft, course_deg, length_m;
};
// The two westerly runways as published (true courses).
constexpr RunwayData kRunways[] = {
    {"27L", {51.464770, -0.434200}, 78, kHomeRunwayCourse, 3660},
    {"27R", {51.477500, -0.433200}, 78, kHomeRunwayCourse, 3902},
};

struct IlsData {
  const char *ident;
  double mhz;
  int runway;
  double glide_path_deg;
};
constexpr IlsData kIls[] = {
    {"ILL", 109.50, 0, 3.0},
    {"IRR", 110.30, 1, 3.0},
};

// The VOR/DMEs of the London area: LON on the field, the holding beacons
// round the airport, Compton to the west.
const VorStation kVors[] = {
    {"LON", 113.60, {51.487222, -0.466389}, kFieldElevationFt, 40, true},
    {"BNN", 113.75, {51.726111, -0.549722}, 520, 130, true},
    {"OCK", 115.30, {51.305000, -0.447222}, 200, 130, true},
    {"BIG", 115.10, {51.330833, 0.035000}, 600, 130, true},
    {"LAM", 115.60, {51.646111, 0.151667}, 200, 130, true},
    {"CPT", 114.35, {51.492000, -1.219722}, 800, 130, true},
};

const Ndb kNdbs[] = {
    {"EPM", 316.0, {51.319167, -0.372222}, 25},
    {"WOD", 352.0, {51.452778, -0.878056}, 25},
};

// The approach to 27L is marked where an ILS of its glide path is marked:
// the outer marker 4.5 NM out, the middle marker 0.55 NM out.
constexpr double kOuterMarkerNm = 4.5, kMiddleMarkerNm = 0.55;

constexpr double kRadians = std::numbers::pi / 180.0;

struct Tables {
  std::vector<Runway> runways;
  std::vector<Localizer> localizers;
  std::vector<MarkerBeacon> markers;
  NavDatabase db;

  Tables() {
    for (const RunwayData &r : kRunways)
      runways.push_back({r.ident, r.threshold, r.elevation_ft, r.course_deg, r.length_m,
                         destination(r.threshold, r.course_deg, r.length_m / kMetresPerNm)});
    for (const IlsData &i : kIls) {
      const Runway &r = runways[static_cast<std::size_t>(i.runway)];
      double to_threshold_m = r.length_m + kLocalizerBeyondEndM;
      double half_width = std::atan(kSectorHalfWidthAtThresholdFt / (to_threshold_m * kFeetPerMetre)) / kRadians;
      GeoPoint in = destination(r.threshold, r.course_deg, kGlideslopeInM / kMetresPerNm);
      GeoPoint antenna = destination(r.threshold, r.course_deg, to_threshold_m / kMetresPerNm);
      // The course as the antenna sends it: over a few miles the meridians
      // converge by a share of the sector that shows on the needle.
      double course = wrap360(bearing_deg(antenna, r.threshold) + 180);
      localizers.push_back({i.ident, i.mhz, &r, antenna, course, half_width, r.elevation_ft,
                            destination(in, r.course_deg - 90, kGlideslopeAsideM / kMetresPerNm),
                            r.elevation_ft, i.glide_path_deg, true});
    }
    const Runway &home = runways[0];
    double outward = wrap360(home.course_deg + 180);
    markers.push_back({kOuterMarker, destination(home.threshold, outward, kOuterMarkerNm),
                       kFieldElevationFt, home.course_deg});
    markers.push_back({kMiddleMarker, destination(home.threshold, outward, kMiddleMarkerNm),
                       kFieldElevationFt, home.course_deg});
    db = {"EGLL", {51.470600, -0.461900}, kFieldElevationFt, runways, kVors, localizers, kNdbs, markers};
  }
};

const Tables &tables() {
  static const Tables t;
  return t;
}

}  // namespace

const NavDatabase &nav_database() { return tables().db; }
const Runway &home_runway() { return tables().runways.front(); }
const Localizer &home_localizer() { return tables().localizers.front(); }

}  // namespace z480
