// The radio altimeter's arithmetic: the decision-height knob's angle, the
// vertical-speed filter, and the host's decision-height steps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gauges/flight/radio_altimeter.h"
#include "host/model/radio_altimeter_model.h"

namespace z480 {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

NonlinearityEntry entry(double value, double angle) { return {{0, 0}, value, angle}; }

TEST(DecisionKnob, InterpolatesBetweenTheEnclosingEntriesAndTakesAnEntryAsItIs) {
  NonlinearityEntry t[] = {entry(0, 0), entry(10, 1), entry(30, 3), entry(40, 2)};
  EXPECT_DOUBLE_EQ(table_angle_at(t, 4, 5), 0.5);
  EXPECT_DOUBLE_EQ(table_angle_at(t, 4, 20), 2.0);
  EXPECT_DOUBLE_EQ(table_angle_at(t, 4, 35), 2.5);
  EXPECT_EQ(table_angle_at(t, 4, 10), 1.0);
  EXPECT_EQ(table_angle_at(t, 4, 30), 3.0);
  EXPECT_EQ(table_angle_at(t, 4, 0), 0.0);
  EXPECT_EQ(table_angle_at(t, 4, 40), 2.0);
}

TEST(DecisionKnob, ExtrapolatesAlongTheNearerEndSegment) {
  NonlinearityEntry t[] = {entry(0, 0), entry(10, 1), entry(30, 3), entry(40, 2)};
  EXPECT_DOUBLE_EQ(table_angle_at(t, 4, -10), -1.0);
  EXPECT_DOUBLE_EQ(table_angle_at(t, 4, 50), 1.0);
  // far beyond the top, still the top segment
  EXPECT_DOUBLE_EQ(table_angle_at(t, 4, 140), -8.0);
  NonlinearityEntry two[] = {entry(0, 0), entry(10, 1)};
  EXPECT_DOUBLE_EQ(table_angle_at(two, 2, 5), 0.5);
  NonlinearityEntry edge[] = {entry(0, 0), entry(1, 5), entry(2, 5), entry(3, 6)};
  EXPECT_DOUBLE_EQ(table_angle_at(edge, 4, 1.5), 5.0);
}

TEST(DecisionKnob, NoNumberOrNoScaleRestsAtZero) {
  NonlinearityEntry t[] = {entry(0, 1), entry(10, 2)};
  EXPECT_EQ(table_angle_at(t, 2, kNan), 0.0);
  EXPECT_EQ(table_angle_at(t, 2, kInf), 0.0);
  EXPECT_EQ(table_angle_at(t, 1, 5), 0.0);
  EXPECT_EQ(table_angle_at(nullptr, 2, 5), 0.0);
  // entries that share a value take the first one's angle, not 0/0
  NonlinearityEntry flat[] = {entry(5, 1), entry(5, 2)};
  EXPECT_EQ(table_angle_at(flat, 2, 7), 1.0);
}

TEST(VerticalSpeedFilter, SettlesOnTheReadingInFeetPerMinuteAndIgnoresNoNumbers) {
  double reading = -910.3359708692489;  // 700 ft/min down
  double v = filter_vertical_speed(0.0, reading);
  EXPECT_NEAR(v, -70.0, 1e-9);
  for (int i = 0; i < 200; ++i) v = filter_vertical_speed(v, reading);
  EXPECT_NEAR(v, -700.0, 1e-6);
  EXPECT_EQ(filter_vertical_speed(v, kNan), v);
  EXPECT_EQ(filter_vertical_speed(v, kInf), v);
}

double feet(double metres) { return metres * kFeetPerMetre; }
double metres(double feet) { return feet / kFeetPerMetre; }

TEST(DecisionHeightModel, StepsTenFeetLowDownAndFiftyAboveWithinTheScale) {
  EXPECT_NEAR(feet(decision_height_step(metres(250), +1, 1)), 260, 1e-9);
  EXPECT_NEAR(feet(decision_height_step(metres(250), -1, 1)), 240, 1e-9);
  EXPECT_NEAR(feet(decision_height_step(metres(300), +1, 0)), 350, 1e-9);
  EXPECT_NEAR(feet(decision_height_step(metres(300), -1, 0)), 250, 1e-9);
  EXPECT_EQ(decision_height_step(metres(5), -1, 1), 0.0);
  EXPECT_NEAR(feet(decision_height_step(metres(2480), +1, 0)), 2500, 1e-9);
  // A height between whole feet steps from the nearest one
  EXPECT_NEAR(feet(decision_height_step(metres(199.7), +1, 1)), 210, 1e-9);
  // A height that is no finite number starts from 0; one beyond the scale comes back
  EXPECT_NEAR(feet(decision_height_step(kNan, +1, 1)), 10, 1e-9);
  EXPECT_NEAR(feet(decision_height_step(kInf, +1, 0)), 50, 1e-9);
  EXPECT_NEAR(feet(decision_height_step(metres(90000), -1, 0)), 2500, 1e-9);
}

TEST(DecisionHeightModel, LampLightsAtOrBelowASetDecisionHeight) {
  EXPECT_FALSE(decision_height_lamp(61.0, 60.96));
  EXPECT_TRUE(decision_height_lamp(60.96, 60.96));
  EXPECT_TRUE(decision_height_lamp(0.0, 60.96));
  EXPECT_FALSE(decision_height_lamp(0.0, 0.0));
  EXPECT_FALSE(decision_height_lamp(kNan, 60.96));
}

}  // namespace
}  // namespace z480
