// What the navigation instruments share: the distance-source selection, the
// host readings several of them test, their failure lists and compass card.
#pragma once

#include <cstdint>

#include "frame/declare.h"

// 1: the distance windows follow NAV 1 (ILS/TACAN lever left); 0: NAV 2.
// 1 at load and again whenever the lever is installed.
extern int Dme_Source_Nav1;

// The bus voltage at which the instruments count as powered.
inline constexpr double kInstrumentVolts = 20.0;
// Where a bearing pointer parks when its receiver gives no usable bearing.
inline constexpr double kParkedBearing = 90.0;

// The converter-fed bus at or above volts.
bool bus_powered(double volts = kInstrumentVolts);
// The host's navigation source is the GPS: kVarGpsSource is a double, so any
// value other than 0 counts (NaN does not).
bool gps_source();
// The electrical or navigation-receiver failure, or a dead bus: the distance
// windows close and the NAV flags show.
bool nav_electrics_lost();
// A NAV receiver switched on whose flags word gives a usable bearing.
bool vor_bearing_usable(int power_on, std::int32_t flags_token);
// A bearing (degrees) relative to the aircraft heading.
double from_heading(double bearing);

// The failure records of the compass cards, the NAV 2 bearing pointers of the
// HSI and homing indicator, and the distance windows.
extern FailureRecord compass_failures[];
extern FailureRecord nav2_pointer_failures[];
extern FailureRecord distance_window_failures[];

// Declares a compass card: a sprite turned by the aircraft heading.
struct CompassCardSpec {
  std::int32_t bitmap = 0;
  PixPoint pos{};
  PixPoint centre{};
  FailureRecord *failures = nullptr;
  GaugeHeader *gauge = nullptr;
};
constexpr SpriteElement compass_card(const CompassCardSpec &c) {
  return sprite({.bitmap = c.bitmap,
                 .pos = c.pos,
                 .flags = kImageLitSmooth,
                 .failures = c.failures,
                 .gauge = c.gauge,
                 .centre = c.centre,
                 .x = {.scale = 1.0},
                 .y = {.scale = 1.0},
                 .rotation = {.token = kVarHeading, .scale = 1.0}});
}
