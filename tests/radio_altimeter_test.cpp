// The radio altimeter's arithmetic: the host's decision-height steps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/radio_altimeter_model.h"

namespace z480 {
namespace {

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
  EXPECT_NEAR(feet(decision_height_step(std::nan(""), +1, 1)), 10, 1e-9);
  EXPECT_NEAR(feet(decision_height_step(std::numeric_limits<double>::infinity(), +1, 0)), 50,
              1e-9);
  EXPECT_NEAR(feet(decision_height_step(metres(90000), -1, 0)), 2500, 1e-9);
}

TEST(DecisionHeightModel, LampLightsAtOrBelowASetDecisionHeight) {
  EXPECT_FALSE(decision_height_lamp(61.0, 60.96));
  EXPECT_TRUE(decision_height_lamp(60.96, 60.96));
  EXPECT_TRUE(decision_height_lamp(0.0, 60.96));
  EXPECT_FALSE(decision_height_lamp(0.0, 0.0));
  EXPECT_FALSE(decision_height_lamp(std::nan(""), 60.96));
}

}  // namespace
}  // namespace z480
