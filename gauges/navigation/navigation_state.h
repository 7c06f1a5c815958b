// What the navigation instruments share: the distance-source selection, the
// host readings several of them test, and the digit drums of their distance
// and course windows.
#pragma once

#include <cstdint>

#include "frame/declare.h"
#include "frame/odometer.h"

// 1: the distance windows follow NAV 1 (ILS/TACAN lever left); 0: NAV 2.
// 1 at load and again whenever the lever is installed.
extern int Dme_Source_Nav1;

// Host variables read by more than one navigation instrument.
inline constexpr std::int32_t kHeadingToken = 84;         // degrees
inline constexpr std::int32_t kSelectedHeadingToken = 855;  // degrees
inline constexpr std::int32_t kNav1BearingToken = 550;    // relative, degrees
inline constexpr std::int32_t kNav2BearingToken = 59;     // relative, degrees
inline constexpr std::int32_t kAdfBearingToken = 39;      // relative, degrees
inline constexpr std::int32_t kNav1FlagsToken = 46;       // bit 0x80: no bearing
inline constexpr std::int32_t kNav2FlagsToken = 55;
inline constexpr std::int32_t kDistanceToken = 372;       // nautical miles
inline constexpr std::int32_t kNav1NoDistanceToken = 32;  // negative: none
inline constexpr std::int32_t kNav2NoDistanceToken = 36;
inline constexpr std::int32_t kElectricalFailureToken = 279;
inline constexpr std::int32_t kNavReceiverFailureToken = 285;
inline constexpr std::int32_t kGpsSourceToken = 848;  // nonzero: GPS drives the instruments

// The bus voltage at which the instruments count as powered.
inline constexpr double kInstrumentVolts = 20.0;
// Where a bearing pointer parks when its receiver gives no usable bearing.
inline constexpr double kParkedBearing = 90.0;

// The converter-fed bus at or above volts.
bool bus_powered(double volts = kInstrumentVolts);
// An integer host variable that is nonzero (a failure flag).
bool host_flag_set(std::int32_t token);
// The host's navigation source is the GPS: token 848 is a double, so any
// value other than 0 counts (NaN does not).
bool gps_source();
// The electrical or navigation-receiver failure, or a dead bus: the distance
// windows close and the NAV flags show.
bool nav_electrics_lost();
// A NAV receiver switched on whose flags word gives a usable bearing.
bool vor_bearing_usable(int power_on, std::int32_t flags_token);
// A bearing (degrees) relative to the aircraft heading.
double from_heading(double bearing);

// The failure records of the compass cards and of the distance windows.
extern FailureRecord compass_failures[];
extern FailureRecord distance_window_failures[];

// Declares a compass card: a sprite turned by the aircraft heading.
struct CompassCardSpec {
  std::int32_t bitmap = 0;
  PixPoint pos{};
  PixPoint centre{};
  GaugeElement **next = nullptr;
  FailureRecord *failures = nullptr;
  GaugeHeader *gauge = nullptr;
};
constexpr SpriteElement compass_card(const CompassCardSpec &c) {
  return sprite({.bitmap = c.bitmap,
                 .pos = c.pos,
                 .flags = 0x4083,
                 .next = c.next,
                 .failures = c.failures,
                 .gauge = c.gauge,
                 .centre = c.centre,
                 .x = {.scale = 1.0},
                 .y = {.scale = 1.0},
                 .rotation = {.token = kHeadingToken, .scale = 1.0}});
}

// Declares a window drum read through odometer_drum: its place value and
// roll span, and the range of its strip of ten digits.
struct WindowDrumSpec {
  std::int32_t bitmap = 0;
  PixPoint pos{};
  GaugeElement **next = nullptr;
  FailureRecord *failures = nullptr;
  GaugeHeader *gauge = nullptr;
  std::int32_t token = 0;
  double place = 1.0;
  double span = 0.1;
  double range = 10.0;
  MovingImageCallback callback = nullptr;
};
constexpr MovingImageElement window_drum(const WindowDrumSpec &d) {
  return moving_image({.bitmap = d.bitmap,
                       .pos = d.pos,
                       .flags = 0x4083,
                       .next = d.next,
                       .failures = d.failures,
                       .gauge = d.gauge,
                       .x = drum_places(d.place, d.span),
                       .y = {.token = d.token, .min = 0.0, .max = d.range},
                       .y_callback = d.callback});
}
