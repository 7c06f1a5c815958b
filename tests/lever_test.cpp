// Where along a lever rectangle a click lands.
#include <gtest/gtest.h>

#include <limits>

#include "gauges/airframe/throttle_levers.h"

namespace {

TEST(LeverFraction, TopIsFullBottomIsIdleAndOutsideIsHeldToTheEnds) {
  EXPECT_DOUBLE_EQ(lever_fraction(0, 199), 1.0);
  EXPECT_DOUBLE_EQ(lever_fraction(199, 199), 0.0);
  EXPECT_DOUBLE_EQ(lever_fraction(50, 200), 0.75);
  EXPECT_DOUBLE_EQ(lever_fraction(-20, 199), 1.0);
  EXPECT_DOUBLE_EQ(lever_fraction(400, 199), 0.0);
  EXPECT_DOUBLE_EQ(lever_fraction(std::numeric_limits<std::int32_t>::min(), 199), 1.0);
  EXPECT_DOUBLE_EQ(lever_fraction(std::numeric_limits<std::int32_t>::max(), 199), 0.0);
}

TEST(LeverFraction, ARectangleWithoutHeightGivesIdle) {
  EXPECT_DOUBLE_EQ(lever_fraction(0, 0), 0.0);
  EXPECT_DOUBLE_EQ(lever_fraction(5, -10), 0.0);
}

}  // namespace
