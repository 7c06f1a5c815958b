// The radio altimeter's height: the aircraft above the ground beneath it,
// which in the scenario area lies flat at the field's elevation; 0 on the
// wheels, never below.
#pragma once

#include "host/model/geo.h"
#include "host/model/nav_database.h"

namespace z480 {

double radio_height_ft(const NavDatabase &db, const AircraftPosition &aircraft);

}  // namespace z480
