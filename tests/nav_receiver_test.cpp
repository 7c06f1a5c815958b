// The radio navigation's geometry: great circles, the NAV receiver on the
// home ILS and on a VOR, the ADF, the marker fans and the radio height, each
// from positions placed about the stations as a pilot would meet them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "host/model/adf_receiver.h"
#include "host/model/geo.h"
#include "host/model/gps_receiver.h"
#include "host/model/marker_receiver.h"
#include "host/model/nav_database.h"
#include "host/model/nav_receiver.h"
#include "host/model/radio_altimeter_receiver.h"
#include "host/model/radio_model.h"

namespace z480 {
namespace {

const NavDatabase &db() { return nav_database(); }
const Localizer &ils() { return home_localizer(); }
const Runway &runway() { return home_runway(); }
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// A point `out` miles out on the approach side of the home runway, `right`
// miles to the right of the centreline as seen flying it inbound.
AircraftPosition on_final(double out, double right, double feet) {
  GeoPoint p = destination(runway().threshold, runway().course_deg + 180, out);
  return {destination(p, runway().course_deg + 90, right), feet, runway().course_deg};
}

// The height of the glide path over the ground that far out.
double path_height(double out) {
  double from_antenna = distance_nm(ils().glideslope, destination(runway().threshold, runway().course_deg + 180, out));
  return ils().glideslope_elevation_ft + from_antenna * kFeetPerNm * std::tan(ils().glide_path_deg * 3.14159265358979 / 180);
}

TEST(GreatCircle, DistancesAndCoursesAgreeWithKnownFigures) {
  EXPECT_NEAR(distance_nm({50, 0}, {51, 0}), 60.04, 0.01);
  // Heathrow to New York Kennedy: 2999 NM.
  EXPECT_NEAR(distance_nm({51.4700, -0.4543}, {40.6413, -73.7781}), 2999, 10);
  EXPECT_NEAR(bearing_deg({51.4700, -0.4543}, {40.6413, -73.7781}), 288, 2);
  // Along a parallel the great circle starts poleward of east and west.
  double east = bearing_deg({45, 7}, {45, 8}), west = bearing_deg({45, 7}, {45, 6});
  EXPECT_LT(east, 90);
  EXPECT_GT(east, 89.5);
  EXPECT_GT(west, 270);
  EXPECT_LT(west, 270.5);
  EXPECT_EQ(distance_nm({45, 7}, {45, 7}), 0);
  GeoPoint there = destination({51.47, -0.45}, 123, 17);
  EXPECT_NEAR(distance_nm({51.47, -0.45}, there), 17, 1e-9);
  EXPECT_NEAR(bearing_deg({51.47, -0.45}, there), 123, 1e-9);
  double e = 0, n = 0;
  offset_of({51.47, -0.45}, offset_by({51.47, -0.45}, 3, -4), &e, &n);
  EXPECT_NEAR(e, 3, 1e-9);
  EXPECT_NEAR(n, -4, 1e-9);
  EXPECT_EQ(wrap360(-1e-17), 0);
  EXPECT_EQ(wrap180(190), -170);
}

TEST(NavReceiver, LocalizerDeflectsTowardsTheCourseOnEitherSide) {
  NavReading centre = nav_receive(db(), 109.50, 0, on_final(8, 0, 2500));
  ASSERT_TRUE(centre.received);
  EXPECT_TRUE(centre.localizer);
  EXPECT_NEAR(centre.lateral, 0, 1e-6);
  EXPECT_EQ(centre.to_from, 0);
  EXPECT_FALSE(centre.bearing);
  // Left of the centreline the course lies to the right: positive.
  NavReading left = nav_receive(db(), 109.50, 0, on_final(8, -0.1, 2500));
  NavReading right = nav_receive(db(), 109.50, 0, on_final(8, 0.1, 2500));
  EXPECT_GT(left.lateral, 0.2);
  EXPECT_LT(right.lateral, -0.2);
  EXPECT_NEAR(left.lateral, -right.lateral, 1e-3);
  // Full deflection at the sector's edge: 350 ft either side at the threshold.
  EXPECT_NEAR(nav_receive(db(), 109.50, 0, on_final(0, -350 / kFeetPerNm, 500)).lateral, 1, 0.01);
  EXPECT_EQ(nav_receive(db(), 109.50, 0, on_final(8, -2, 2500)).lateral, 1);
  // The selected course does not move a localizer's needle.
  EXPECT_EQ(nav_receive(db(), 109.50, 123, on_final(8, -0.1, 2500)).lateral, left.lateral);
}

TEST(NavReceiver, BackCourseReadsReversedAndHasNoGlideslope) {
  // Beyond the localizer antenna, west of the field, on the north side: the
  // side that reads negative on the front course reads negative here too,
  // so flying the back course inbound (eastbound) the needle senses reversed.
  GeoPoint west = destination(ils().antenna, runway().course_deg, 6);
  AircraftPosition north_side{destination(west, runway().course_deg + 90, 0.1), 2500, 89.7};
  AircraftPosition south_side{destination(west, runway().course_deg - 90, 0.1), 2500, 89.7};
  NavReading n = nav_receive(db(), 109.50, 0, north_side), s = nav_receive(db(), 109.50, 0, south_side);
  ASSERT_TRUE(n.received);
  EXPECT_LT(n.lateral, -0.2);
  EXPECT_GT(s.lateral, 0.2);
  EXPECT_FALSE(n.glideslope);
  EXPECT_TRUE(n.dme);
  // Front course, north side (right of the inbound course): negative as well.
  EXPECT_LT(nav_receive(db(), 109.50, 0, on_final(6, 0.2, 2500)).lateral, -0.2);
}

TEST(NavReceiver, GlideslopePointsToThePath) {
  for (double out : {2.0, 6.0, 9.0}) {
    double h = path_height(out);
    EXPECT_NEAR(nav_receive(db(), 109.50, 0, on_final(out, 0, h)).vertical, 0, 1e-6) << out;
    // Above the path positive (the pointer below), below it negative.
    EXPECT_GT(nav_receive(db(), 109.50, 0, on_final(out, 0, h + 0.2 * (h - 78))).vertical, 0.2) << out;
    EXPECT_LT(nav_receive(db(), 109.50, 0, on_final(out, 0, h - 0.2 * (h - 78))).vertical, -0.2) << out;
  }
  EXPECT_EQ(nav_receive(db(), 109.50, 0, on_final(6, 0, 200)).vertical, -1);
  // The glideslope reaches 10 NM and 8 degrees either side; the localizer further.
  NavReading far = nav_receive(db(), 109.50, 0, on_final(12, 0, 4000));
  EXPECT_TRUE(far.received);
  EXPECT_FALSE(far.glideslope);
  NavReading wide = nav_receive(db(), 109.50, 0, on_final(6, 1.5, 2000));
  EXPECT_TRUE(wide.received);
  EXPECT_FALSE(wide.glideslope);
  // Past the glideslope antenna, on the runway, it is gone.
  GeoPoint rollout = destination(runway().threshold, runway().course_deg, 0.5);
  EXPECT_FALSE(nav_receive(db(), 109.50, 0, {rollout, 90, runway().course_deg}).glideslope);
}

TEST(NavReceiver, EachStationHasItsRangeAndTheLineOfSight) {
  // Ranges count from the antenna, 2.1 NM beyond the threshold: 25 NM on
  // the course line.
  EXPECT_TRUE(nav_receive(db(), 109.50, 0, on_final(22, 0, 6000)).received);
  EXPECT_FALSE(nav_receive(db(), 109.50, 0, on_final(23.5, 0, 6000)).received);
  // 17 to 20 degrees off the course line only within 17 NM.
  EXPECT_TRUE(nav_receive(db(), 109.50, 0, on_final(13, 13 * std::tan(0.349), 6000)).received);
  EXPECT_FALSE(nav_receive(db(), 109.50, 0, on_final(20, 20 * std::tan(0.349), 6000)).received);
  // Low down the earth's curve hides it: 500 ft sees 33 NM, the ground 5.5.
  EXPECT_FALSE(nav_receive(db(), 109.50, 0, on_final(8, 0, 83)).received);
  EXPECT_TRUE(nav_receive(db(), 109.50, 0, on_final(2, 0, 83)).received);
  EXPECT_NEAR(line_of_sight_nm(500, 20), 33.0, 0.1);
  // LON's service volume is 40 NM, however high.
  const VorStation &lon = db().vors[0];
  AircraftPosition at35{destination(lon.at, 0, 35), 20000, 0}, at45{destination(lon.at, 0, 45), 20000, 0};
  NavReading near = nav_receive(db(), lon.mhz, 0, at35);
  EXPECT_TRUE(near.received);
  EXPECT_GE(near.signal, 256);
  EXPECT_FALSE(nav_receive(db(), lon.mhz, 0, at45).received);
  EXPECT_EQ(nav_receive(db(), lon.mhz, 0, at45).signal, 0);
  // Nothing on a frequency no station uses, nor on one that is no number.
  EXPECT_FALSE(nav_receive(db(), 108.00, 0, at35).received);
  EXPECT_FALSE(nav_receive(db(), kNan, 0, at35).received);
  EXPECT_FALSE(nav_receive(db(), lon.mhz, 0, {at35.at, kNan, 0}).received);
}

TEST(NavReceiver, VorToFromFlipsOverTheStationAndDeflectsTowardsTheCourse) {
  const VorStation &lon = db().vors[0];
  auto at = [&](double bearing, double nm) {
    return AircraftPosition{destination(lon.at, bearing, nm), 3000, 90};
  };
  // Eastbound on course 090: west of the station TO, east of it FROM.
  NavReading before = nav_receive(db(), lon.mhz, 90, at(270, 5));
  NavReading after = nav_receive(db(), lon.mhz, 90, at(90, 5));
  EXPECT_EQ(before.to_from, 1);
  EXPECT_EQ(after.to_from, -1);
  EXPECT_NEAR(before.bearing_to_deg, 90, 0.1);
  EXPECT_NEAR(after.bearing_to_deg, 270, 0.1);
  EXPECT_NEAR(before.lateral, 0, 1e-3);
  // North of the course line, eastbound, the course lies to the right.
  EXPECT_NEAR(nav_receive(db(), lon.mhz, 90, at(275, 5)).lateral, 0.5, 0.01);
  EXPECT_NEAR(nav_receive(db(), lon.mhz, 90, at(85, 5)).lateral, 0.5, 0.01);
  EXPECT_NEAR(nav_receive(db(), lon.mhz, 90, at(265, 5)).lateral, -0.5, 0.01);
  EXPECT_EQ(nav_receive(db(), lon.mhz, 90, at(200, 5)).lateral, -1);
  // Right over it no bearing: the cone of silence; the DME still answers.
  NavReading over = nav_receive(db(), lon.mhz, 90, at(270, 0.1));
  EXPECT_TRUE(over.received);
  EXPECT_FALSE(over.course);
  EXPECT_FALSE(over.bearing);
  EXPECT_EQ(over.to_from, 0);
  EXPECT_TRUE(over.dme);
  // A mile straight up is a mile of slant distance.
  EXPECT_NEAR(nav_receive(db(), lon.mhz, 0, {lon.at, lon.elevation_ft + kFeetPerNm, 0}).dme_nm, 1, 1e-9);
}

// Degrees apart, either way round.
double apart(std::optional<double> a, double b) { return a ? std::fabs(wrap180(*a - b)) : 999; }

TEST(GpsReceiver, CrossTrackMilesOnEitherSideOfTheWaypointNotAnAngle) {
  // Left of the line on final, and the same miles left further out: the
  // same deflection, where a localizer's would narrow toward the runway.
  GpsReading near = gps_course(runway().threshold, runway().course_deg, on_final(2, -0.5, 1000).at);
  GpsReading far = gps_course(runway().threshold, runway().course_deg, on_final(8, -0.5, 1000).at);
  EXPECT_TRUE(near.course);
  EXPECT_NEAR(near.lateral, 0.5, 0.01);  // the course lies to the right
  EXPECT_NEAR(far.lateral, 0.5, 0.01);
  EXPECT_EQ(near.to_from, 1);
  EXPECT_NEAR(far.distance_nm, 8.0, 0.05);
  EXPECT_NEAR(gps_course(runway().threshold, runway().course_deg, on_final(4, 0.25, 1000).at).lateral,
              -0.25, 0.01);
  EXPECT_EQ(gps_course(runway().threshold, runway().course_deg, on_final(4, 3, 1000).at).lateral, -1.0);
  // Past the waypoint the line goes on: FROM, the same sense
  GpsReading past = gps_course(runway().threshold, runway().course_deg, on_final(-3, -0.3, 1000).at);
  EXPECT_EQ(past.to_from, -1);
  EXPECT_NEAR(past.lateral, 0.3, 0.01);
  EXPECT_FALSE(gps_course(runway().threshold, kNan, on_final(4, 0, 1000).at).course);
  EXPECT_FALSE(gps_course(runway().threshold, 270, {kNan, 0}).course);
}

TEST(AdfReceiver, PointsToTheBeaconInEveryQuadrant) {
  const Ndb &epm = db().ndbs[0];
  GeoPoint south = destination(epm.at, 180, 5);
  EXPECT_LT(apart(adf_relative_bearing(db(), epm.khz, {south, 3000, 0}), 0), 0.1);
  EXPECT_LT(apart(adf_relative_bearing(db(), epm.khz, {south, 3000, 90}), 270), 0.1);
  EXPECT_LT(apart(adf_relative_bearing(db(), epm.khz, {south, 3000, 180}), 180), 0.1);
  EXPECT_LT(apart(adf_relative_bearing(db(), epm.khz, {south, 3000, 270}), 90), 0.1);
  EXPECT_LT(apart(adf_relative_bearing(db(), epm.khz, {south, 3000, 315}), 45), 0.1);
  EXPECT_LT(apart(adf_relative_bearing(db(), epm.khz, {destination(epm.at, 225, 5), 3000, 0}), 45), 0.2);
  EXPECT_LT(apart(adf_relative_bearing(db(), epm.khz + 0.4, {south, 3000, 0}), 0), 0.1);
  EXPECT_FALSE(adf_relative_bearing(db(), epm.khz + 1, {south, 3000, 0}));
  EXPECT_FALSE(adf_relative_bearing(db(), epm.khz, {destination(epm.at, 180, 26), 3000, 0}));
  EXPECT_FALSE(adf_relative_bearing(db(), kNan, {south, 3000, 0}));
}

TEST(MarkerReceiver, EachLampLightsInsideItsFan) {
  const MarkerBeacon &outer = db().markers[0], &middle = db().markers[1];
  auto over = [](const MarkerBeacon &m, double along, double across, double height) {
    GeoPoint p = destination(m.at, m.course_deg, along);
    return AircraftPosition{destination(p, m.course_deg + 90, across), m.elevation_ft + height, 0};
  };
  EXPECT_EQ(marker_receive(db(), over(outer, 0, 0, 1500)), kOuterMarker);
  // Thin along the course (1050 ft at 1500 ft up), wide across it (3200 ft).
  EXPECT_EQ(marker_receive(db(), over(outer, 1000 / kFeetPerNm, 0, 1500)), kOuterMarker);
  EXPECT_EQ(marker_receive(db(), over(outer, -1100 / kFeetPerNm, 0, 1500)), 0);
  EXPECT_EQ(marker_receive(db(), over(outer, 0, 3000 / kFeetPerNm, 1500)), kOuterMarker);
  EXPECT_EQ(marker_receive(db(), over(outer, 0, 3400 / kFeetPerNm, 1500)), 0);
  // Higher up the fan is wider.
  EXPECT_EQ(marker_receive(db(), over(outer, -1100 / kFeetPerNm, 0, 3000)), kOuterMarker);
  EXPECT_EQ(marker_receive(db(), over(middle, 0, 0, 250)), kMiddleMarker);
  EXPECT_EQ(marker_receive(db(), over(middle, 0, 0, 0)), 0);
  EXPECT_EQ(marker_receive(db(), over(middle, 0, 0, 6000)), 0);
  EXPECT_EQ(marker_receive(db(), on_final(8, 0, 2500)), 0);
}

TEST(RadioAltimeter, HeightAboveTheFlatGround) {
  EXPECT_EQ(radio_height_ft(db(), {{51.4, -0.4}, 1083, 0, 0}), 1000);
  EXPECT_EQ(radio_height_ft(db(), {{51.4, -0.4}, 88.94, 0, 5.94}), 0);
  EXPECT_EQ(radio_height_ft(db(), {{51.4, -0.4}, 50, 0, 0}), 0);
  EXPECT_EQ(radio_height_ft(db(), {{51.4, -0.4}, kNan, 0, 0}), 0);
}

TEST(RadioWords, FrequenciesReadAsTheRadiosShowThem) {
  EXPECT_NEAR(radio_mhz(0x0950), 109.50, 1e-9);
  EXPECT_NEAR(radio_mhz(0x1375), 113.75, 1e-9);
  EXPECT_NEAR(radio_mhz(0x1FFF), 119.99, 1e-9);
  EXPECT_NEAR(adf_khz({0x0316, 0}), 316.0, 1e-9);
  EXPECT_NEAR(adf_khz({0x0379, 0x0105}), 1379.5, 1e-9);
}

}  // namespace
}  // namespace z480
