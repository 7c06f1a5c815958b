// The airport's traffic: each aircraft keeps to its path at believable
// speeds and heights, those that reach the end of theirs come back under a
// new id, the crosser comes round ahead of the user again, and stopping
// takes out only the airport's own aircraft.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "host/core/traffic.h"
#include "host/model/nav_database.h"
#include "host/model/traffic_pattern.h"

namespace z480 {
namespace {

constexpr double kFrame = 1.0 / 18;

GeoPoint at(const HostAircraft &a) { return {a.latitude, a.longitude}; }

struct Sky {
  HostTraffic traffic;
  TrafficPatterns patterns;
  AircraftPosition user{destination(home_runway().threshold, 89.7, 8), 2600, 269.7};

  Sky() { patterns.start(traffic, user); }
  // As the host runs it: the traffic flies on, then the paths put it right.
  void fly(double seconds) {
    for (int i = 0; i < static_cast<int>(seconds * 18); ++i) {
      traffic.fly(kFrame);
      patterns.fly(traffic, user, kFrame);
    }
  }
};

TEST(TrafficPattern, EveryAircraftStartsOnItsPath) {
  Sky sky;
  const HostAircraft *circuit = sky.traffic.find(101), *arrival = sky.traffic.find(102),
                     *departure = sky.traffic.find(103), *crosser = sky.traffic.find(100);
  ASSERT_TRUE(circuit && arrival && departure && crosser);
  EXPECT_EQ(circuit->atc, "CIRCUIT");
  EXPECT_NEAR(distance_nm(at(*arrival), nav_database().runways[1].threshold), 15, 0.01);
  EXPECT_NEAR(arrival->altitude, 5083, 1e-6);
  EXPECT_NEAR(arrival->track, 269.7, 0.5);
  EXPECT_LT(arrival->vertical_speed, -500);
  EXPECT_GT(departure->vertical_speed, 500);
  // The crosser: 6 NM ahead, 0.3 NM right, 500 ft up, coming the other way.
  EXPECT_NEAR(distance_nm(sky.user.at, at(*crosser)), std::hypot(6.0, 0.3), 0.01);
  EXPECT_NEAR(wrap180(bearing_deg(sky.user.at, at(*crosser)) - 269.7), 2.86, 0.05);
  EXPECT_EQ(crosser->altitude, 3100);
  EXPECT_NEAR(crosser->track, 89.7, 1e-9);
}

TEST(TrafficPattern, TheCircuitGoesRoundAtCircuitHeightAndSpeed) {
  Sky sky;
  GeoPoint start = at(*sky.traffic.find(101));
  double highest = 0, lowest = 1e9, farthest = 0;
  double moved = 0;
  GeoPoint last = start;
  for (int s = 0; s < 600; ++s) {
    sky.fly(1);
    const HostAircraft *c = sky.traffic.find(101);
    ASSERT_TRUE(c);
    highest = std::max(highest, c->altitude);
    lowest = std::min(lowest, c->altitude);
    farthest = std::max(farthest, distance_nm(home_runway().threshold, at(*c)));
    moved += distance_nm(last, at(*c));
    last = at(*c);
  }
  EXPECT_NEAR(highest, 1083, 1);
  EXPECT_NEAR(lowest, 83, 1);
  EXPECT_LT(farthest, 4);
  // Ten minutes at 75 to 100 kt.
  EXPECT_GT(moved, 12.5);
  EXPECT_LT(moved, 16.7);
}

TEST(TrafficPattern, ArrivalAndDepartureComeBackAsNewAircraft) {
  Sky sky;
  double arrival_was = sky.traffic.find(102)->altitude;
  double departure_was = sky.traffic.find(103)->altitude;
  sky.fly(120);
  ASSERT_TRUE(sky.traffic.find(102));
  EXPECT_LT(sky.traffic.find(102)->altitude, arrival_was - 1000);
  EXPECT_GT(sky.traffic.find(103)->altitude, departure_was + 1000);
  // The arrival lands after six minutes; then a new one starts 15 NM out,
  // two minutes ago.
  sky.fly(360);
  EXPECT_FALSE(sky.traffic.find(102));
  const HostAircraft *next = sky.traffic.find(112);
  ASSERT_TRUE(next);
  EXPECT_GT(next->altitude, 2500);
  EXPECT_GT(distance_nm(at(*next), nav_database().runways[1].threshold), 7);
  EXPECT_FALSE(sky.traffic.find(103));
  EXPECT_TRUE(sky.traffic.find(113));
}

TEST(TrafficPattern, TheCrosserComesRoundAheadAgainOncePast) {
  Sky sky;
  sky.fly(100);
  const HostAircraft *c = sky.traffic.find(100);
  ASSERT_TRUE(c);
  // 200 kt for 100 s: 5.6 NM come of the 6.
  EXPECT_NEAR(distance_nm(sky.user.at, at(*c)), 0.5, 0.1);
  sky.fly(130);
  EXPECT_FALSE(sky.traffic.find(100));
  c = sky.traffic.find(110);
  ASSERT_TRUE(c);
  EXPECT_LT(std::fabs(wrap180(bearing_deg(sky.user.at, at(*c)) - sky.user.heading_deg)), 90);
}

TEST(TrafficPattern, StoppingTakesOutOnlyTheAirportsTraffic) {
  Sky sky;
  HostAircraft mine;
  mine.id = 7;
  sky.traffic.put(mine);
  sky.fly(500);
  sky.patterns.stop(sky.traffic);
  for (std::uint32_t id : {100u, 110u, 101u, 102u, 112u, 103u, 113u}) EXPECT_FALSE(sky.traffic.find(id)) << id;
  EXPECT_TRUE(sky.traffic.find(7));
  // Stopped, it leaves the traffic alone.
  sky.patterns.fly(sky.traffic, sky.user, 1);
  EXPECT_FALSE(sky.traffic.find(101));
}

}  // namespace
}  // namespace z480
