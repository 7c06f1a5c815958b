// The ILS of runway 04, whose threshold lies at the field's origin at sea
// level: the deviations an aircraft sees from where it is. A stand-in until
// the radios receive real beacons.
#pragma once

namespace z480 {

inline constexpr double kIlsRunwayCourse = 40;      // degrees
inline constexpr double kIlsGlidePath = 3;          // degrees
inline constexpr double kLocalizerFullScale = 2.5;  // degrees either side
inline constexpr double kGlideSlopeFullScale = 0.7;

// Fractions of full scale, -1 to 1: lateral positive when the centreline
// lies to the right, vertical positive when the glide path lies above.
struct IlsDeviation {
  double lateral = 0, vertical = 0;
};

// At a point east and north of the threshold (nautical miles), at a height
// above it (feet). Over the threshold itself, or at a point that is no
// number, both are 0.
IlsDeviation ils_deviation(double east_nm, double north_nm, double altitude_ft);

}  // namespace z480
