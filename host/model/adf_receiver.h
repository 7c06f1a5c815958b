// The ADF: tuned to a kilohertz figure, it hears the nearest NDB on it
// within that beacon's range (ground wave: no line of sight) and points to
// it, relative to the aircraft's heading.
#pragma once

#include <optional>

#include "host/model/geo.h"
#include "host/model/nav_database.h"

namespace z480 {

// Degrees clockwise from the nose, 0 to 360; nothing when no beacon is heard.
std::optional<double> adf_relative_bearing(const NavDatabase &db, double khz,
                                           const AircraftPosition &aircraft);

}  // namespace z480
