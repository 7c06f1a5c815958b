#include "host/model/marker_receiver.h"

#include <cmath>
#include <numbers>

namespace z480 {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

constexpr MarkerFan kFans[] = {
    {35, 65, 10000},  // outer
    {60, 75, 5000},   // middle
    {70, 80, 3000},   // inner
};

bool inside(const MarkerBeacon &m, const AircraftPosition &p) {
  double height = p.altitude_ft - m.elevation_ft;
  const MarkerFan &fan = marker_fan(m.kind);
  if (!(height > 0 && height <= fan.ceiling_ft)) return false;
  double d = distance_nm(m.at, p.at) * kFeetPerNm;
  double off = (bearing_deg(m.at, p.at) - m.course_deg) * kRadians;
  double along = d * std::cos(off) / (height * std::tan(fan.along_deg * kRadians));
  double across = d * std::sin(off) / (height * std::tan(fan.across_deg * kRadians));
  return along * along + across * across <= 1;
}

}  // namespace

const MarkerFan &marker_fan(MarkerKind kind) {
  int i = kind - kOuterMarker;
  return kFans[i >= 0 && i < 3 ? i : 0];
}

int marker_receive(const NavDatabase &db, const AircraftPosition &p) {
  int lit = 0;
  for (const MarkerBeacon &m : db.markers)
    if (m.kind > lit && inside(m, p)) lit = m.kind;
  return lit;
}

}  // namespace z480
