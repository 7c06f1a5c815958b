// The radio altimeter's arithmetic, shared by its gauge and its tests.
#pragma once

#include <cstdint>

#include "frame/panel.h"

// The angle a needle's table gives for a value, from the angles the host
// filled in when it prepared the needle: linear between the two entries that
// enclose the value, extrapolated along the end segment nearer to it beyond
// either end. A value that is no finite number, or a table of fewer than two
// entries, gives 0.
double table_angle_at(const NonlinearityEntry *table, std::uint32_t size, double value);

// The vertical-speed filter: one update of the filtered rate (ft/min) from
// the host's reading (metres per second x 256). A reading that is no finite
// number leaves the filter as it was.
double filter_vertical_speed(double filtered, double reading);
