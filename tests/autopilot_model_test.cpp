// The host's autopilot table: the aircraft's answer to the servo and trim
// commands, the reference-bar knob, the mode words, and that the module's
// laws flying the model's aircraft settle on their targets.
#include "host/model/autopilot_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

#include "frame/host_names.h"
#include "gauges/autopilot/autopilot_laws.h"
#include "host/model/airframe_model.h"
#include "host/model/autopilot_modes.h"
#include "host/model/flight_director.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"
#include "host/model/yaw_damper.h"

namespace z480 {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kFrame = 1.0 / Host::kFramesPerSecond;
std::uint32_t word(std::int32_t v) { return static_cast<std::uint32_t>(v); }

TEST(AutopilotModel, ServoCommandsTurnTheAircraftForOneFrameEachWithinItsStops) {
  EXPECT_DOUBLE_EQ(pitch_after_elevator(1.0, 16384), 1.0 + kElevatorPitchRate * kFrame);
  EXPECT_DOUBLE_EQ(pitch_after_elevator(1.0, word(-8192)), 1.0 - kElevatorPitchRate * kFrame / 2);
  EXPECT_EQ(pitch_after_elevator(89.9, 16384), kPitchStop);
  // a command beyond full scale deflects the surface to its stop
  EXPECT_DOUBLE_EQ(pitch_after_elevator(0.0, 29491), kElevatorPitchRate * kFrame);
  EXPECT_DOUBLE_EQ(bank_after_aileron(0.0, word(-2147483647 - 1)), -kAileronRollRate * kFrame);
  EXPECT_EQ(pitch_after_elevator(kNan, 0), 0.0);
  EXPECT_DOUBLE_EQ(bank_after_aileron(-2.0, word(-16384)), -2.0 - kAileronRollRate * kFrame);
  EXPECT_DOUBLE_EQ(bank_after_aileron(179.0, 16384), 179.0 + kAileronRollRate * kFrame - 360.0);
  EXPECT_DOUBLE_EQ(bank_after_aileron(-179.0, word(-16384)),
                   -179.0 - kAileronRollRate * kFrame + 360.0);
}

TEST(AutopilotModel, TrimCommandsAndReferenceBarsStopAtTheirEnds) {
  EXPECT_DOUBLE_EQ(trim_for_command(819) * 180.0 / std::numbers::pi, 819 * 20.0 / 16384);
  EXPECT_DOUBLE_EQ(trim_for_command(word(-1683)) * 180.0 / std::numbers::pi, -1683 * 20.0 / 16384);
  EXPECT_EQ(trim_for_command(16384), kTrimStop);
  EXPECT_EQ(trim_for_command(word(-2147483647 - 1)), -kTrimStop);
  EXPECT_EQ(reference_bars_step(0, +1), kReferenceBarsStep);
  EXPECT_EQ(reference_bars_step(98, +1), kReferenceBarsStop);
  EXPECT_EQ(reference_bars_step(-98, -1), -kReferenceBarsStop);
  EXPECT_EQ(reference_bars_step(kNan, -1), -kReferenceBarsStep);
}

// The laws and the model agree on their signs: engaged channels bring the
// aircraft to the knob's bank and the wheel's pitch and hold it there.
TEST(AutopilotModel, TheManualChannelsSettleTheModelAircraftOnTheirTargets) {
  double bank = 0.0;
  for (int i = 0; i < 3 * Host::kFramesPerSecond; ++i)
    bank = bank_after_aileron(bank, word(roll_aileron_command(12.0, bank)));
  EXPECT_NEAR(bank, -12.0, 0.01);  // a right turn reads as negative bank
  double pitch = 0.0;
  double accumulator = 0.0;
  for (int i = 0; i < 5 * Host::kFramesPerSecond; ++i) {
    PitchChannelStep s = pitch_channel_step(4.0, pitch, accumulator);
    accumulator = s.accumulator;
    pitch = pitch_after_elevator(pitch, word(s.elevator));
  }
  EXPECT_NEAR(pitch, -4.0, 0.01);  // nose up reads as negative pitch
}

class AutopilotTable : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = Module::load(Z480_PROBE_MODULE_PATH, &error);
    ASSERT_TRUE(module_) << error;
    host_ = std::make_unique<Host>(*module_);
    host_->set_var(kVarMainBusVoltage, 28.0);
  }
  void event(std::int32_t id, std::uint32_t value = 0) { model_.react(*host_, {id, value}); }
  void set_all(std::initializer_list<std::int32_t> tokens, double v) {
    for (std::int32_t t : tokens) host_->set_var(t, v);
  }
  double var(std::int32_t token) { return host_->var(token); }

  std::unique_ptr<Module> module_;
  std::unique_ptr<Host> host_;
  SystemsModel model_;
};

TEST_F(AutopilotTable, EachButtonTogglesTheModeItsLampShows) {
  const std::pair<std::int32_t, std::int32_t> kButtons[] = {
      {65580, 103}, {65722, 110}, {65724, 112}, {65725, 106}, {65726, 108}, {65727, 104},
      {65728, 113}, {65729, 105}, {65793, 114}, {65859, 115}, {65861, 124}};
  for (auto [button, mode] : kButtons) {
    event(button);
    EXPECT_EQ(var(mode), 1.0) << button;
    event(button);
    EXPECT_EQ(var(mode), 0.0) << button;
  }
}

TEST_F(AutopilotTable, EngagingAChannelClearsEveryModeThatWouldDropIt) {
  set_all({104, 105, 106, 108, 110, 111, 112, 113}, 1.0);
  for (std::int32_t e : {65815, 65819, 65814, 65817, 65818}) event(e);  // roll engagement
  for (std::int32_t mode : {104, 105, 106, 112, 113, 111}) EXPECT_EQ(var(mode), 0.0) << mode;
  EXPECT_EQ(var(108) + var(110), 2.0);
  for (std::int32_t e : {65812, 65816}) event(e);  // pitch engagement
  EXPECT_EQ(var(108) + var(110), 0.0);
  // the watcher's attitude hold takes the pitch
  event(65804);
  EXPECT_EQ(var(110), 1.0);
}

TEST_F(AutopilotTable, AnArmedApproachCapturesTheGlideslopeNearThePathOnACapturedLocalizer) {
  event(65724);
  set_all({kVarHsiLateralValid, kVarHsiGlideSlopeValid}, 1.0);
  host_->set_var(kVarHsiLateralDeviation, 0.2);
  host_->set_var(kVarHsiGlideSlopeDeviation, 0.4);
  event(kEveryFrame);
  EXPECT_EQ(var(kVarAutopilotCourseCaptured), 1.0);
  EXPECT_EQ(var(111), 0.0);
  EXPECT_EQ(var(44), 1.0);
  host_->set_var(kVarHsiGlideSlopeDeviation, 0.1);
  event(kEveryFrame);
  EXPECT_EQ(var(111), 1.0);
  event(65724);
  event(kEveryFrame);
  EXPECT_EQ(var(111), 0.0);
}

TEST_F(AutopilotTable, AGlideslopeGivenUpForAltitudeStaysOutUntilTheApproachIsPressedAgain) {
  event(kEventAutopilotApproachHoldToggle);
  set_all({kVarHsiLateralValid, kVarHsiGlideSlopeValid}, 1.0);
  host_->set_var(kVarHsiLateralDeviation, 0.0);
  host_->set_var(kVarHsiGlideSlopeDeviation, 0.0);
  event(kEveryFrame);
  EXPECT_EQ(var(kVarAutopilotGlideslopeHold), 1.0);
  event(kEventAutopilotAltitudeHoldToggle);
  for (int i = 0; i < 3; ++i) event(kEveryFrame);
  EXPECT_EQ(var(kVarAutopilotGlideslopeHold), 0.0);
  EXPECT_EQ(var(kVarAutopilotAltitudeHold), 1.0);
  EXPECT_EQ(var(kVarAutopilotApproachHold), 1.0);
  // APP pressed off and on arms it again
  event(kEventAutopilotApproachHoldToggle);
  event(kEventAutopilotApproachHoldToggle);
  event(kEveryFrame);
  event(kEveryFrame);
  EXPECT_EQ(var(kVarAutopilotGlideslopeHold), 1.0);
  EXPECT_EQ(var(kVarAutopilotAltitudeHold), 0.0);
}

TEST_F(AutopilotTable, AGlideslopeLostInAGapArmsAgainAndCapturesWhenItComesBack) {
  event(kEventAutopilotApproachHoldToggle);
  set_all({kVarHsiLateralValid, kVarHsiGlideSlopeValid}, 1.0);
  host_->set_var(kVarHsiLateralDeviation, 0.0);
  host_->set_var(kVarHsiGlideSlopeDeviation, 0.0);
  event(kEveryFrame);
  ASSERT_EQ(var(kVarAutopilotGlideslopeHold), 1.0);
  // the gap: the signal gone, the mode out, the approach still selected
  host_->set_var(kVarHsiGlideSlopeValid, 0.0);
  for (int i = 0; i < 3; ++i) event(kEveryFrame);
  EXPECT_EQ(var(kVarAutopilotGlideslopeHold), 0.0);
  EXPECT_EQ(var(kVarAutopilotApproachHold), 1.0);
  EXPECT_EQ(var(kVarAutopilotGlideslopeArmed), 1.0);
  EXPECT_EQ(var(kVarNav1GlideslopeReceived), 0.0);
  // back, but off the path: armed, not yet captured
  host_->set_var(kVarHsiGlideSlopeValid, 1.0);
  host_->set_var(kVarHsiGlideSlopeDeviation, 0.3);
  event(kEveryFrame);
  EXPECT_EQ(var(kVarAutopilotGlideslopeHold), 0.0);
  EXPECT_EQ(var(kVarAutopilotGlideslopeArmed), 1.0);
  host_->set_var(kVarHsiGlideSlopeDeviation, 0.05);
  event(kEveryFrame);
  EXPECT_EQ(var(kVarAutopilotGlideslopeHold), 1.0);
  EXPECT_EQ(var(kVarAutopilotApproachHold), 1.0);
}

TEST_F(AutopilotTable, TheTrimWheelMovesTheAttitudeHeldInsteadOfTheTrim) {
  host_->set_var(kVarPitch, -3.0);
  event(kEventElevatorTrimUp);
  EXPECT_EQ(var(kVarElevatorTrim), kTrimStep);  // no autopilot: the trim
  event(kEventAutopilotMasterToggle);
  event(kEventAutopilotAttitudeHoldToggle);
  event(kEveryFrame);
  EXPECT_DOUBLE_EQ(var(kVarFlightDirectorPitch), -3.0);
  for (int i = 0; i < 10; ++i) event(kEventElevatorTrimUp);
  event(kEventElevatorTrimDown);
  EXPECT_EQ(var(kVarElevatorTrim), kTrimStep);
  EXPECT_NEAR(var(kVarFlightDirectorPitch), -3.0 - 9 * kAttitudeTrimStep, 1e-9);
  for (int i = 0; i < 500; ++i) event(kEventElevatorTrimUp);
  EXPECT_EQ(var(kVarFlightDirectorPitch), -kPitchLimit);
}

TEST_F(AutopilotTable, TheYawDamperLeavesTheRudderAloneWhileOff) {
  host_->set_var(kVarTurnRate, 256.0);
  event(kEventYawDamperToggle);
  event(kEveryFrame);
  EXPECT_EQ(var(kVarYawDamperRudder), 0.0);  // engaged in a steady turn: no kick
  host_->set_var(kVarTurnRate, 512.0);
  event(kEveryFrame);
  EXPECT_LT(var(kVarYawDamperRudder), 0.0);
  event(kEventYawDamperToggle);
  event(kEveryFrame);
  EXPECT_EQ(var(kVarYawDamperRudder), 0.0);
}

TEST(YawDamper, OpposesASwingOfTheYawRateAndWashesOutASteadyTurn) {
  YawDamperStep s = yaw_damper_step(0.0, 2.0);
  EXPECT_LT(s.rudder, 0.0);
  EXPECT_GT(yaw_damper_step(0.0, -2.0).rudder, 0.0);
  EXPECT_EQ(yaw_damper_step(0.0, 100.0).rudder, -kYawDamperLimit);
  for (int i = 0; i < 30 * Host::kFramesPerSecond; ++i) s = yaw_damper_step(s.steady_rate, 2.0);
  EXPECT_NEAR(s.steady_rate, 2.0, 1e-3);
  EXPECT_NEAR(s.rudder, 0.0, 1e-4);
  EXPECT_EQ(yaw_damper_step(kNan, kNan).rudder, 0.0);
  EXPECT_EQ(yaw_damper_step(1.0, kNan).steady_rate, 1.0);
}

TEST(CourseLaw, CapturesNearTheCentreOrEarlierOnANeedleComingInFast) {
  EXPECT_TRUE(course_captures(0.5, 0.0));
  EXPECT_TRUE(course_captures(-0.3, 0.1));
  EXPECT_FALSE(course_captures(0.8, 0.0));
  EXPECT_TRUE(course_captures(0.8, -0.1));
  EXPECT_FALSE(course_captures(0.8, 0.1));  // going away
  EXPECT_TRUE(course_captures(-0.8, 0.1));
  EXPECT_FALSE(course_captures(1.0, -1.0));  // pinned: no needle yet
  EXPECT_FALSE(course_captures(kNan, 0.0));
  EXPECT_FALSE(course_captures(0.8, kNan));
}

TEST(CourseLaw, InterceptsAtItsAngleAndLearnsTheDriftIntoTheWind) {
  EXPECT_EQ(intercept_heading(360.0, -1.0), 360.0 - kInterceptAngle);
  EXPECT_EQ(intercept_heading(90.0, 0.7), 90.0 + kInterceptAngle);
  EXPECT_EQ(intercept_heading(kNan, kNan), kInterceptAngle);
  // centreline to the left for a minute: the heading goes left of the course
  double c = 0.0;
  for (int i = 0; i < 60 * Host::kFramesPerSecond; ++i) c = course_correction_step(c, -0.2, 5000.0);
  EXPECT_NEAR(c, -0.2 * kCourseCorrectionRate * 60.0, 0.01);
  for (int i = 0; i < 600 * Host::kFramesPerSecond; ++i) c = course_correction_step(c, -1.0, 5000.0);
  EXPECT_EQ(c, -kCourseCorrectionLimit);
  // near the ground it learns slower, as the beam narrows
  EXPECT_LT(std::fabs(course_correction_step(0.0, 0.2, 100.0)),
            std::fabs(course_correction_step(0.0, 0.2, 5000.0)));
  EXPECT_EQ(course_correction_step(kNan, kNan, kNan), 0.0);
}

TEST_F(AutopilotTable, NothingEngagesOnADeadBus) {
  host_->set_var(kVarMainBusVoltage, 0.0);
  for (std::int32_t button : {65580, 65722, 65724, 65725, 65726, 65727, 65728, 65729, 65793, 65859, 65861, 65804})
    event(button);
  for (std::int32_t mode : {103, 104, 105, 106, 108, 110, 112, 113, 114, 115, 124})
    EXPECT_EQ(var(mode), 0.0) << mode;
}

}  // namespace
}  // namespace z480
