// The aircraft's radio navigation, as the simulator works it out from where
// the aircraft is: both NAV receivers on the frequencies the pilot tuned
// (tokens 24 and 27, NAV 1 against its selected course, token 45), the
// ADF (tokens 16 and 18), the marker receiver and the radio altimeter,
// written into the host variables the navigation instruments read. Run
// once a frame while the aircraft has a position (the flight model flies,
// or a script put it somewhere); otherwise those variables stay as scripts
// set them.
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
// The glideslope needle (token 41) at full deflection.
inline constexpr double kGlideslopeNeedleFullScale = 119;

void update_radio_navigation(Host &host, const AircraftPosition &aircraft,
                             const NavDatabase &db = nav_database());

}  // namespace z480
