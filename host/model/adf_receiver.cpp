#include "host/model/adf_receiver.h"

#include <cmath>

namespace z480 {
namespace {

// The receiver's passband either side of the figure tuned.
constexpr double kPassbandKhz = 0.5;

}  // namespace

std::optional<double> adf_relative_bearing(const NavDatabase &db, double khz,
                                           const AircraftPosition &p) {
  const Ndb *heard = nullptr;
  double nearest = 0;
  for (const Ndb &n : db.ndbs) {
    if (!(std::fabs(n.khz - khz) < kPassbandKhz)) continue;
    double d = distance_nm(p.at, n.at);
    if (d <= n.range_nm && (!heard || d < nearest)) {
      heard = &n;
      nearest = d;
    }
  }
  if (!heard || !std::isfinite(p.heading_deg)) return std::nullopt;
  return wrap360(bearing_deg(p.at, heard->at) - p.heading_deg);
}

}  // namespace z480
