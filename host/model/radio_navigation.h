// The aircraft's radio navigation, as the simulator works it out from where
// the aircraft is: both NAV receivers on the frequencies the pilot tuned
// (tokens 24 and 27, NAV 1 against its selected course, token 45), the
// ADF (tokens 16 and 18), the marker receiver and the radio altimeter,
// written into the host variables the navigation instruments read. Run
// once a frame while the aircraft has a position (the flight model flies,
// or a script put it somewhere); otherwise those variables stay as scripts
// set them.
//
// What NAV 1 gives, for the instruments and an autopilot flying them:
//   849  course deviation, -1 to 1 at full deflection: positive when the
//        course lies to the right (a localizer's 350 ft either side at the
//        threshold, a VOR's 10 degrees); 0 without a course
//   851  1 while that deviation means something, else 0
//   853  TO 1, FROM -1, 0 for a localizer or no course
//   850  glideslope deviation, -1 to 1 (0.72 degrees on a 3 degree path):
//        positive when above the path, so the pointer stands below
//   852  1 while a glideslope is received (the autopilot's model makes
//        tokens 41 and 44 of these two)
//   46   flags (NAV 2: 55): DME heard, glideslope, localizer (no bearing)
//   550  relative bearing to a VOR (NAV 2: 59), 90 without one
//   49   signal (NAV 2: 58): 0 unheard, from 256 heard
//   32   DME slant distance, NM (NAV 2: 36), -1 without one; 372 that of
//        the receiver token 355 selects
// With the NAV/GPS selector on GPS (token 848 nonzero) the GPS gives 849,
// 851, 853 and 372 instead (gps_receiver.h: the course drawn, 854, through
// the home runway's threshold, and the miles to it), and no glideslope
// (850, 852 at 0);
// and 39 the ADF's relative bearing (90 without a beacon), 354 the marker
// lamp (1 outer, 2 middle, 3 inner, 0 none), 614 the radio height in metres.
#pragma once

#include "host/core/host.h"
#include "host/model/geo.h"
#include "host/model/nav_database.h"

namespace z480 {

// The receiver flag bits (tokens 46 and 55): a DME is heard; the station
// has a glideslope; it is a localizer, which gives no bearing.
inline constexpr std::uint32_t kNavFlagDme = 0x01;
inline constexpr std::uint32_t kNavFlagGlideslope = 0x40;
inline constexpr std::uint32_t kNavFlagLocalizer = 0x80;
// Where a bearing pointer rests without a station: 90 degrees.
inline constexpr double kNoBearing = 90;

void update_radio_navigation(Host &host, const AircraftPosition &aircraft,
                             const NavDatabase &db = nav_database());

}  // namespace z480
