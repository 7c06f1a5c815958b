// The rolling digit drum of the panel's counters and distance windows.
#pragma once

// Position of one drum for the reading x: place is the drum's digit weight,
// span the last part of its place over which it rolls on to the next digit
// (arriving just as the lower drums wrap), modulus the range its strip
// covers (ten digits). The result lies in 0 to modulus; a reading that is
// not a number, or a drum with a weight, span or range that is not positive,
// gives 0.
double odometer_digit(double x, double place, double span, double modulus);
