// A VHF navigation receiver: tuned to a frequency of the NAV band, it hears
// the strongest VOR or localizer on it within that station's range and the
// line of sight, and gives what a NAV set gives: course deviation against
// the selected course (a VOR) or the localizer's own course, TO/FROM, the
// bearing to a VOR, the glideslope of an ILS, the DME's slant distance.
#pragma once

#include "host/model/geo.h"
#include "host/model/nav_database.h"

namespace z480 {

// A VOR's course deviation at full deflection, degrees either side.
inline constexpr double kVorFullScaleDeg = 10;
// Over a VOR the signal gives no bearing within this many degrees of the
// vertical.
inline constexpr double kVorConeDeg = 40;
// The glideslope's full deflection, a share of its path angle (0.72 degrees
// on a 3 degree path).
inline constexpr double kGlideslopeFullScale = 0.24;

struct NavReading {
  bool received = false;   // a station on the frequency is heard
  bool localizer = false;  // and it is a localizer
  bool course = false;     // the deviation and TO/FROM mean something
  // Course deviation, -1 to 1: positive when the course lies to the right
  // (seen flying a localizer's front course inbound).
  double lateral = 0;
  int to_from = 0;         // 1 TO, -1 FROM, 0 neither (a localizer)
  bool bearing = false;    // a VOR bearing is there
  double bearing_to_deg = 0;  // true course to the VOR
  bool glideslope = false;
  double vertical = 0;     // -1 to 1: positive when above the path (the pointer below)
  bool dme = false;
  double dme_nm = 0;       // slant distance
  // 0 unheard; 256 at the edge of the range, 1024 at the station.
  double signal = 0;
};

NavReading nav_receive(const NavDatabase &db, double mhz, double course_deg,
                       const AircraftPosition &aircraft);

// Nautical miles at which an antenna that high and the aircraft that high
// (feet above the ground) still see each other.
double line_of_sight_nm(double aircraft_height_ft, double antenna_height_ft);

}  // namespace z480
