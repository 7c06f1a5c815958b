// The rolling digit drum: carries roll in the last span of a place, all
// drums together, wrap at the modulus, and defined results for bad input.
#include "frame/odometer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

double digit(double x, double place, double span) {
  return odometer_digit(x, place, span, 10.0 * place);
}

TEST(Odometer, DrumsStandStillUntilTheLastSpanOfTheirPlace) {
  EXPECT_DOUBLE_EQ(digit(12.345, 10, 0.01), 10.0);   // tens: 1
  EXPECT_DOUBLE_EQ(digit(12.345, 1, 0.01), 2.0);     // units: 2
  EXPECT_NEAR(digit(12.345, 0.1, 0.01), 0.3, 1e-9);  // tenths: 3
  EXPECT_NEAR(digit(9.95, 1, 0.1), 9.5, 1e-9);
  EXPECT_NEAR(digit(9.95, 10, 0.1), 5.0, 1e-9);
  EXPECT_NEAR(digit(9.95, 100, 0.1), 0.0, 1e-9);
}

TEST(Odometer, CarriesArriveTogetherAndWrapAtTheModulus) {
  EXPECT_DOUBLE_EQ(digit(10.0, 1, 0.1), 0.0);
  EXPECT_DOUBLE_EQ(digit(10.0, 10, 0.1), 10.0);
  EXPECT_NEAR(digit(9999.95, 1000, 0.1), 9500.0, 1e-6);
  EXPECT_NEAR(digit(9999.95, 1, 0.1), 9.5, 1e-6);
  EXPECT_DOUBLE_EQ(digit(10000.0, 1000, 0.1), 0.0);
  // A drum with a wide span starts turning early: half-way at 99.5
  EXPECT_NEAR(odometer_digit(99.5, 100, 1, 1000), 50.0, 1e-9);
  EXPECT_NEAR(odometer_digit(12.395, 0.1, 0.01, 1), 0.35, 1e-9);
}

TEST(Odometer, ResultStaysOnTheStripForAnyInput) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(digit(std::nan(""), 1, 0.1), 0.0);
  EXPECT_EQ(digit(inf, 1, 0.1), 0.0);
  EXPECT_EQ(digit(-inf, 1, 0.1), 0.0);
  EXPECT_EQ(odometer_digit(5, 0, 0.1, 10), 0.0);
  EXPECT_EQ(odometer_digit(5, 1, 0, 10), 0.0);
  EXPECT_EQ(odometer_digit(5, 1, 0.1, 0), 0.0);
  EXPECT_EQ(odometer_digit(5, 1, std::nan(""), 10), 0.0);
  for (double x : {-3.25, 1e300, -1e300, 1e15 + 0.95, 123456789.99}) {
    double r = digit(x, 1, 0.1);
    EXPECT_GE(r, 0.0) << x;
    EXPECT_LE(r, 10.0) << x;
  }
  EXPECT_NEAR(digit(-3.25, 1, 0.1), 6.0, 1e-9);  // below zero the drum runs backwards
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
