#include "host/model/radio_altimeter_receiver.h"

#include <algorithm>
#include <cmath>

namespace z480 {

double radio_height_ft(const NavDatabase &db, const AircraftPosition &p) {
  double h = p.altitude_ft - db.elevation_ft - p.height_on_ground_ft;
  return std::isfinite(h) ? std::max(0.0, h) : 0.0;
}

}  // namespace z480
