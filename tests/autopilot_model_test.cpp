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
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"

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

TEST_F(AutopilotTable, NothingEngagesOnADeadBus) {
  host_->set_var(kVarMainBusVoltage, 0.0);
  for (std::int32_t button : {65580, 65722, 65724, 65725, 65726, 65727, 65728, 65729, 65793, 65859, 65861, 65804})
    event(button);
  for (std::int32_t mode : {103, 104, 105, 106, 108, 110, 112, 113, 114, 115, 124})
    EXPECT_EQ(var(mode), 0.0) << mode;
}

}  // namespace
}  // namespace z480
