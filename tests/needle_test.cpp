// Needle tables: angles the host fills and the interpolation between them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "frame/declare.h"
#include "host/core/needle.h"

namespace z480 {
namespace {

double degrees(NonlinearityEntry *t, std::uint32_t n, double v) {
  return wrap_degrees(table_angle(t, n, v));
}

TEST(NeedleTable, AnglesRunClockwiseFromStraightUp) {
  NonlinearityEntry t[] = {table_point(0, 100, 0), table_point(1, 200, 100),
                           table_point(2, 100, 200), table_point(3, 0, 100)};
  fill_table_angles(t, 4, {100, 100});
  EXPECT_NEAR(t[0].degrees, 0, 1e-12);
  EXPECT_NEAR(t[1].degrees, std::numbers::pi / 2, 1e-12);
  EXPECT_NEAR(std::fabs(t[2].degrees), std::numbers::pi, 1e-12);
  EXPECT_NEAR(t[3].degrees, -std::numbers::pi / 2, 1e-12);
}

TEST(NeedleTable, InterpolatesAcrossStraightUpAndParksAtTheEnds) {
  // A dial from the lower left round through the top to the lower right.
  NonlinearityEntry t[] = {table_point(-1, 0, 200), table_point(0, 0, 200),
                           table_point(10, 0, 0), table_point(20, 200, 0),
                           table_point(30, 200, 200), table_point(40, 200, 200)};
  fill_table_angles(t, 6, {100, 100});
  EXPECT_NEAR(degrees(t, 6, -5), 225, 1e-9);
  EXPECT_NEAR(degrees(t, 6, 0), 225, 1e-9);
  EXPECT_NEAR(degrees(t, 6, 15), 0, 1e-9);   // crosses straight up
  EXPECT_NEAR(degrees(t, 6, 25), 90, 1e-9);
  EXPECT_NEAR(degrees(t, 6, 35), 135, 1e-9);  // the doubled end holds
  EXPECT_NEAR(degrees(t, 6, 1e300), 135, 1e-9);
}

TEST(NeedleTable, FallingTablesInterpolateAndParkToo) {
  // Listed from the high end, clockwise: the value falls as the needle turns
  // clockwise.
  NonlinearityEntry t[] = {table_point(40, 0, 200), table_point(30, 0, 200),
                           table_point(20, 0, 0), table_point(10, 200, 0),
                           table_point(0, 200, 200), table_point(-1, 200, 200)};
  fill_table_angles(t, 6, {100, 100});
  EXPECT_NEAR(degrees(t, 6, 50), 225, 1e-9);
  EXPECT_NEAR(degrees(t, 6, 25), 270, 1e-9);
  EXPECT_NEAR(degrees(t, 6, 15), 0, 1e-9);
  EXPECT_NEAR(degrees(t, 6, 5), 90, 1e-9);
  EXPECT_NEAR(degrees(t, 6, -7), 135, 1e-9);
}

TEST(NeedleTable, AStepOfMoreThanHalfATurnStillTurnsClockwise) {
  // An engine dial: 0 at the top, 100 three quarters of a turn on, at the left.
  NonlinearityEntry t[] = {table_point(0, 92, 20), table_point(100, 16, 92),
                           table_point(105, 16, 82)};
  fill_table_angles(t, 3, {92, 92});
  EXPECT_NEAR(degrees(t, 3, 50), 135, 1e-9);
  EXPECT_NEAR(degrees(t, 3, 100), 270, 1e-9);
  EXPECT_GT(degrees(t, 3, 105), 270);
}

TEST(NeedleTable, TwoPointScalesTurnOnBeyondTheirPoints) {
  NonlinearityEntry t[] = {table_point(0, 135, 77), table_point(500, 135, 177)};
  fill_table_angles(t, 2, {135, 127});
  EXPECT_NEAR(degrees(t, 2, 250), 90, 1e-9);   // half a turn is taken clockwise
  EXPECT_NEAR(degrees(t, 2, 750), 270, 1e-9);
  EXPECT_NEAR(degrees(t, 2, 1000), 0, 1e-9);
  EXPECT_NEAR(degrees(t, 2, -250), 270, 1e-9);
}

TEST(NeedleTable, NoTableTurnsByTheValueInDegrees) {
  EXPECT_NEAR(degrees(nullptr, 0, 370), 10, 1e-9);
  EXPECT_NEAR(degrees(nullptr, 0, -90), 270, 1e-9);
}

}  // namespace
}  // namespace z480
