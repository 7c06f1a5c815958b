// The radio aids of the scenario area: London Heathrow (EGLL), its two
// westerly runways with their ILS, the VOR/DMEs and NDBs around it, as a
// table of data. The receivers (nav_receiver.h, adf_receiver.h,
// marker_receiver.h, radio_altimeter_receiver.h) find what the pilot tunes
// here. Courses are true; the ground lies flat at the field's elevation.
#pragma once

#include <span>
#include <string_view>

#include "host/model/geo.h"

namespace z480 {

struct Runway {
  std::string_view ident;  // "27L"
  GeoPoint threshold;
  double elevation_ft;     // of the threshold
  double course_deg;       // true, the direction of landing
  double length_m;
  GeoPoint stop_end;       // where the runway ends, straight ahead
};

// A VOR and the DME beside it.
struct VorStation {
  std::string_view ident;
  double mhz;
  GeoPoint at;
  double elevation_ft;
  double range_nm;  // its service volume
  bool dme;
};

// A localizer with its glideslope and the DME at the glideslope antenna.
struct Localizer {
  std::string_view ident;
  double mhz;
  const Runway *runway;
  GeoPoint antenna;          // on the centreline beyond the stop end
  double course_deg;         // the front course: the runway's
  double half_width_deg;     // full deflection either side: 350 ft at the threshold
  double elevation_ft;
  GeoPoint glideslope;       // abeam the touchdown zone
  double glideslope_elevation_ft;
  double glide_path_deg;
  bool back_course;          // radiates behind the antenna too
};

struct Ndb {
  std::string_view ident;
  double khz;
  GeoPoint at;
  double range_nm;
};

enum MarkerKind : int { kOuterMarker = 1, kMiddleMarker = 2, kInnerMarker = 3 };

struct MarkerBeacon {
  MarkerKind kind;
  GeoPoint at;
  double elevation_ft;
  double course_deg;  // of its approach: the fan lies across it
};

struct NavDatabase {
  std::string_view airport;
  GeoPoint reference;     // the aerodrome reference point
  double elevation_ft;    // of the field, and of the ground all round
  std::span<const Runway> runways;
  std::span<const VorStation> vors;
  std::span<const Localizer> localizers;
  std::span<const Ndb> ndbs;
  std::span<const MarkerBeacon> markers;
};

// The home runway's true course, for those that need it as a constant.
inline constexpr double kHomeRunwayCourse = 269.7;

const NavDatabase &nav_database();
// The runway flights start on and approaches are flown to: 27L, with its ILS.
const Runway &home_runway();
const Localizer &home_localizer();

}  // namespace z480
