// Rolling digit drums: a drum turns only in the last part of its place and
// reaches the next digit just as the places below it wrap, like a car's
// odometer. The fuel-used counters and the navigation distance and course
// windows all use this rule.
#pragma once

#include "frame/declare.h"

// The drum position for value x: place value W, roll span S, modulus M
// (usually 10 x W). The result lies in 0 to M; 4.5 x W shows the drum half-way
// between 4 and 5. Non-finite input, or a place, span or modulus that is not
// above 0, gives 0.
double odometer_digit(double x, double place, double span, double modulus);

// A drum's numbers live in its own moving-image record: place value in the
// x-range minimum, roll span in the x-range maximum, modulus the larger of the
// y-range bounds (the drum moves along y, from 0 to M).
double odometer_drum(const MovingImageElement &drum, double x);

