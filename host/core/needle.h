// How the host turns a needle value into an angle through the needle's
// nonlinearity table.
#pragma once

#include <cstdint>

#include "frame/panel.h"

namespace z480 {

// Fills each entry's angle: radians clockwise from straight up, from the
// pivot to the entry's point.
void fill_table_angles(NonlinearityEntry *table, std::uint32_t size, PixPoint pivot);

// The needle angle in radians (clockwise from up, not wrapped) for a value:
// linear between neighbouring entries, turning clockwise from each entry to
// the next, whether the table lists rising or falling values (every scale of
// the module is listed clockwise; the N2 and propeller dials sweep three
// quarters of a turn between two entries). Values beyond a longer table park
// at its ends; a
// two-entry table is a linear scale and carries on beyond its points, so an
// altimeter pointer keeps turning. A table with no entries turns the needle
// by the value in degrees.
double table_angle(const NonlinearityEntry *table, std::uint32_t size, double value);

// Degrees in [0, 360).
double wrap_degrees(double radians);

}  // namespace z480
