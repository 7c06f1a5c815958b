// The marker receiver: a marker beacon radiates a narrow fan straight up,
// thin along its approach course and wide across it; the lamp of its kind
// lights while the aircraft is inside. The fan is an elliptic cone: at a
// height h above the beacon it reaches h x tan(along) along the course and
// h x tan(across) across it.
#pragma once

#include "host/model/geo.h"
#include "host/model/nav_database.h"

namespace z480 {

struct MarkerFan {
  double along_deg, across_deg;
  double ceiling_ft;  // above the beacon: heard no higher
};
// The fan of each kind: at 140 kt down the glide path the outer marker
// sounds for about 9 s, the middle marker for about 3.
const MarkerFan &marker_fan(MarkerKind kind);

// The kind of the marker whose fan holds the aircraft (the innermost when
// fans overlap), 0 when none.
int marker_receive(const NavDatabase &db, const AircraftPosition &aircraft);

}  // namespace z480
