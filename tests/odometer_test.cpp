// The rolling digit drum shared by the distance, course and fuel-used windows.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "frame/odometer.h"

namespace {

constexpr double kTol = 1e-9;

// A three-drum window reading tens, units and tenths.
struct Window {
  double tens, units, tenths;
};
Window distance(double x) {
  return {odometer_digit(x, 10, 0.01, 100), odometer_digit(x, 1, 0.01, 10),
          odometer_digit(x, 0.1, 0.01, 1)};
}

TEST(Odometer, DrumsStandStillUntilTheLastSpanOfTheirPlace) {
  Window w = distance(99.95);
  EXPECT_NEAR(w.tens, 90, kTol);
  EXPECT_NEAR(w.units, 9, kTol);
  EXPECT_NEAR(w.tenths, 0.9, kTol);
  w = distance(12.345);
  EXPECT_NEAR(w.tens, 10, kTol);
  EXPECT_NEAR(w.units, 2, kTol);
  EXPECT_NEAR(w.tenths, 0.3, kTol);
}

TEST(Odometer, AllDrumsRollTogetherIntoTheCarry) {
  Window w = distance(99.995);
  EXPECT_NEAR(w.tens, 95, 1e-6);
  EXPECT_NEAR(w.units, 9.5, 1e-6);
  EXPECT_NEAR(w.tenths, 0.95, 1e-6);
  w = distance(12.395);
  EXPECT_NEAR(w.tenths, 0.35, 1e-6);
  EXPECT_NEAR(w.units, 2, 1e-6);
}

TEST(Odometer, CourseWindowRollsThroughNorth) {
  EXPECT_NEAR(odometer_digit(359.5, 10, 1, 100), 55, 1e-9);
  EXPECT_NEAR(odometer_digit(359.5, 1, 0.1, 10), 9, 1e-9);
  EXPECT_NEAR(odometer_digit(359.95, 1, 0.1, 10), 9.5, 1e-9);
  EXPECT_NEAR(odometer_digit(359.95, 10, 1, 100), 59.5, 1e-9);
  EXPECT_NEAR(odometer_digit(359.95, 100, 1, 1000), 300, 1e-9);
  // A hundreds drum with a whole-unit span starts rolling at 99.
  EXPECT_NEAR(odometer_digit(99.5, 100, 1, 1000), 50, 1e-9);
}

TEST(Odometer, FuelCounterCarriesIntoEveryDrum) {
  EXPECT_NEAR(odometer_digit(9.95, 1, 0.1, 10), 9.5, 1e-9);
  EXPECT_NEAR(odometer_digit(9.95, 10, 0.1, 100), 5, 1e-9);
  EXPECT_NEAR(odometer_digit(10.0, 1, 0.1, 10), 0, 1e-9);
  EXPECT_NEAR(odometer_digit(10.0, 10, 0.1, 100), 10, 1e-9);
  for (double place : {1.0, 10.0, 100.0, 1000.0})
    EXPECT_NEAR(odometer_digit(9999.95, place, 0.1, 10 * place), 9.5 * place, 1e-6) << place;
  EXPECT_NEAR(odometer_digit(10000, 1000, 0.1, 10000), 0, 1e-9);
}

TEST(Odometer, BadReadingsAndDrumsGiveZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(odometer_digit(std::nan(""), 1, 0.1, 10), 0);
  EXPECT_EQ(odometer_digit(inf, 1, 0.1, 10), 0);
  EXPECT_EQ(odometer_digit(-inf, 1, 0.1, 10), 0);
  EXPECT_EQ(odometer_digit(5, 0, 0.1, 10), 0);
  EXPECT_EQ(odometer_digit(5, 1, 0, 10), 0);
  EXPECT_EQ(odometer_digit(5, 1, 0.1, -10), 0);
  EXPECT_EQ(odometer_digit(5, 1e300, 1e-300, 10), 0);
}

// However large or small the reading, the drum stays on its strip.
TEST(Odometer, ResultNeverLeavesTheStrip) {
  for (int i = -20000; i <= 20000; ++i) {
    for (double x : {i * 0.00499, i * 0.1 - 1e-13, i * 0.1 + 1e-13}) {
      double d = odometer_digit(x, 0.1, 0.01, 1);
      ASSERT_GE(d, 0) << x;
      ASSERT_LE(d, 1) << x;
    }
  }
  for (double x : {1e15, -1e15, 1e300, -1e300, 4.9e-324}) {
    double d = odometer_digit(x, 1, 0.01, 10);
    EXPECT_GE(d, 0) << x;
    EXPECT_LE(d, 10) << x;
  }
}

TEST(Odometer, DrumRecordCarriesPlaceSpanAndModulus) {
  MovingImageElement drum = moving_image({.x = drum_places(10, 0.1), .y = drum_range(100)});
  EXPECT_NEAR(odometer_drum(drum, 9.95), 5.0, 1e-9);
  // The modulus is the larger of the two y bounds, whichever way round
  drum.min_y = 100;
  drum.max_y = 0;
  EXPECT_NEAR(odometer_drum(drum, 109.95), 5.0, 1e-9);
}

}  // namespace
