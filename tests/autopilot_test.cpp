// The autopilot's control laws: their command arithmetic and truncation, the
// mode watcher's thresholds, when each channel engages and drops out, and
// readings that are no number (through a host answering from a token table
// and recording key events).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "frame/services.h"
#include "gauges/autopilot/autopilot_laws.h"
#include "gauges/autopilot/autopilot_state.h"

extern GaugeHeader Manual_Autopilot_Header;

namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kRadiansPerDegree = 1.0 / 57.29577951308232;

using Events = std::vector<std::pair<std::int32_t, std::int32_t>>;
std::map<std::int32_t, double> g_tokens;
Events g_events;
void FSAPI lookup(ModuleVar *var) { var->var_value.n = g_tokens[var->id]; }
std::uint32_t FSAPI record_event(std::int32_t id, std::uint32_t value) {
  g_events.push_back({id, static_cast<std::int32_t>(value)});
  return 0;
}

TEST(AutopilotArithmetic, RollCommandClampsTheErrorAndTruncatesTowardZero) {
  EXPECT_EQ(roll_aileron_command(10, -2), -8192);  // error 8, held at 5
  EXPECT_EQ(roll_aileron_command(-27.5, 0), 8192);
  EXPECT_EQ(roll_aileron_command(3, -1), -3276);  // -3276.8
  EXPECT_EQ(roll_aileron_command(-3, 1), 3276);
  EXPECT_EQ(roll_aileron_command(10, -10), 0);
  EXPECT_EQ(roll_aileron_command(0, kInf), -8192);
  EXPECT_EQ(roll_aileron_command(0, kNan), 0);
}

TEST(AutopilotArithmetic, PitchChannelStepAddsTheLimitedErrorToTheTrim) {
  PitchChannelStep s = pitch_channel_step(-1.0, 1.5, 18.0);  // error 0.5
  EXPECT_EQ(s.accumulator, 18.5);
  EXPECT_EQ(s.elevator, -491);  // -491.52
  EXPECT_EQ(s.trim, 1683);      // 1683.9
  s = pitch_channel_step(0.0, 40.0, 0.0);
  EXPECT_EQ(s.accumulator, 5.0);
  EXPECT_EQ(s.elevator, -4915);
  s = pitch_channel_step(0.0, -40.0, 0.0);
  EXPECT_EQ(s.elevator, 4915);
  EXPECT_EQ(s.trim, -455);                 // -455.1
  s = pitch_channel_step(kNan, 1.0, 9.0);  // no reading: no error, trim as it was
  EXPECT_EQ(s.accumulator, 9.0);
  EXPECT_EQ(s.elevator, 0);
  EXPECT_EQ(s.trim, 819);  // one degree, 819.2
}

TEST(AutopilotArithmetic, SteeringAndTrimAccumulator) {
  EXPECT_EQ(steering_elevator_command(2.0, -1.0), 2949);  // 2949.12
  EXPECT_EQ(steering_elevator_command(-1.0, 2.0), -2949);
  EXPECT_EQ(steering_elevator_command(kNan, 0.0), 0);
  EXPECT_EQ(steering_elevator_command(1e300, 0.0), 2147483647);
  EXPECT_DOUBLE_EQ(trim_accumulator_for(2.0 * kRadiansPerDegree), 18.0);
  EXPECT_DOUBLE_EQ(trim_accumulator_for(-1.0 * kRadiansPerDegree), -9.0);
  EXPECT_EQ(trim_accumulator_for(kNan), 0.0);
  EXPECT_EQ(trim_accumulator_for(kInf), 0.0);
}

class AutopilotLaws : public ::testing::Test {
 protected:
  void SetUp() override {
    g_tokens.clear();
    g_events.clear();
    services.lookup_var = lookup;
    services.trigger_key_event = record_event;
    saved = ImportTable.panels.fn_ptr;
    ImportTable.panels.fn_ptr = &services;
    reset_state();
  }
  void TearDown() override {
    ImportTable.panels.fn_ptr = saved;
    reset_state();
  }
  static void reset_state() {
    Pitch_Channel_On = Roll_Channel_On = 0;
    Pitch_Reference = Bank_Target = Trim_Accumulator = Previous_Token_322 = 0.0;
  }
  static Events take() {
    Events e = g_events;
    g_events.clear();
    return e;
  }
  static void update() {
    ap_mode_watch();
    ap_pitch_steering();
    ap_roll_channel();
    ap_pitch_channel();
  }
  PanelServices services{};
  PanelServices *saved = nullptr;
};

TEST_F(AutopilotLaws, RollChannelHoldsTheClampedTargetUntilAModeTakesOver) {
  g_tokens[103] = 1.0;
  ap_roll_engage();
  EXPECT_EQ(take(), (Events{{65815, 0}, {65819, 0}, {65814, 0}, {65817, 0}, {65818, 0}}));
  Bank_Target = 10.0;
  g_tokens[80] = -2.0;
  ap_roll_channel();
  EXPECT_EQ(take(), (Events{{65763, -8192}}));
  Bank_Target = 40.0;
  g_tokens[80] = -27.5;
  ap_roll_channel();
  EXPECT_EQ(Bank_Target, 27.5);  // stored back clamped
  EXPECT_EQ(take(), (Events{{65763, 0}}));
  // any lateral mode of the host drops the channel, silently
  g_tokens[106] = 1.0;
  ap_roll_channel();
  EXPECT_EQ(Roll_Channel_On, 0);
  EXPECT_EQ(Bank_Target, 27.5);  // kept for the next engagement
  g_tokens[106] = 0.0;
  ap_roll_channel();
  EXPECT_TRUE(take().empty());
}

TEST_F(AutopilotLaws, ChannelsDropOutUnlessTheAutopilotReadsExactlyOne) {
  for (double engaged : {0.0, 0.5, 2.0, kNan}) {
    g_tokens[103] = engaged;
    Roll_Channel_On = Pitch_Channel_On = 1;
    ap_roll_channel();
    ap_pitch_channel();
    EXPECT_EQ(Roll_Channel_On + Pitch_Channel_On, 0) << engaged;
  }
  // a mode reading other than exactly 1 does not count as on
  g_tokens[103] = 1.0;
  g_tokens[104] = 0.5;
  g_tokens[110] = 2.0;
  Roll_Channel_On = Pitch_Channel_On = 1;
  ap_roll_channel();
  ap_pitch_channel();
  EXPECT_EQ(Roll_Channel_On + Pitch_Channel_On, 2);
  EXPECT_TRUE(take().size() == 3);
}

TEST_F(AutopilotLaws, PitchEngagementStartsFromThePresentPitchAndTrim) {
  g_tokens[103] = 1.0;
  g_tokens[783] = 2.0 * kRadiansPerDegree;
  g_tokens[78] = 1.0;
  ap_pitch_channel();  // off: follows the aircraft
  EXPECT_DOUBLE_EQ(Trim_Accumulator, 18.0);
  EXPECT_EQ(Pitch_Reference, -1.0);
  ap_pitch_engage();
  EXPECT_EQ(take(), (Events{{65812, 0}, {65816, 0}}));
  g_tokens[78] = 1.5;
  ap_pitch_channel();
  EXPECT_EQ(take(), (Events{{65762, -491}, {65706, 1683}}));
  // a pitch reading that is no number moves nothing and keeps the trim
  g_tokens[78] = kNan;
  ap_pitch_channel();
  EXPECT_EQ(take(), (Events{{65762, 0}, {65706, 1683}}));
  EXPECT_DOUBLE_EQ(Trim_Accumulator, 18.5);
  // altitude hold takes the pitch over; the reference follows again
  g_tokens[108] = 1.0;
  g_tokens[78] = 3.0;
  ap_pitch_channel();
  EXPECT_EQ(Pitch_Channel_On, 0);
  EXPECT_EQ(Pitch_Reference, -3.0);
  EXPECT_TRUE(take().empty());
  // no numbers from the host leave a reference and an accumulator of 0
  g_tokens[78] = kNan;
  g_tokens[783] = kInf;
  ap_pitch_channel();
  EXPECT_EQ(Pitch_Reference, 0.0);
  EXPECT_EQ(Trim_Accumulator, 0.0);
}

TEST_F(AutopilotLaws, GlideslopeTrackingNeedsAllFourReadings) {
  g_tokens[112] = 1.0;
  g_tokens[111] = 1.0;
  g_tokens[41] = -18.0;
  g_tokens[44] = 1.0;
  EXPECT_TRUE(ap_glideslope_tracking());
  g_tokens[41] = 18.01;
  EXPECT_FALSE(ap_glideslope_tracking());
  g_tokens[41] = kNan;
  EXPECT_FALSE(ap_glideslope_tracking());
  g_tokens[41] = 0.0;
  g_tokens[44] = 0.0;
  EXPECT_FALSE(ap_glideslope_tracking());
  g_tokens[44] = 1.0;
  g_tokens[111] = 0.0;
  EXPECT_FALSE(ap_glideslope_tracking());
  // tracking also switches the approach off when the pitch channel engages
  g_tokens[111] = 1.0;
  ap_pitch_engage();
  EXPECT_EQ(take(), (Events{{65812, 0}, {65816, 0}, {65814, 0}}));
}

TEST_F(AutopilotLaws, SteeringWorksTheElevatorOnlyWhileAPitchModeHolds) {
  g_tokens[103] = 1.0;
  g_tokens[793] = 2.0;
  g_tokens[78] = -1.0;
  ap_pitch_steering();
  g_tokens[108] = 0.99;
  ap_pitch_steering();
  EXPECT_TRUE(take().empty());
  g_tokens[108] = 1.0;
  ap_pitch_steering();
  g_tokens[108] = 0.0;
  g_tokens[119] = 1.0;
  ap_pitch_steering();
  EXPECT_EQ(take(), (Events{{65762, 2949}, {65762, 2949}}));
  g_tokens[103] = 0.0;
  ap_pitch_steering();
  EXPECT_TRUE(take().empty());
}

TEST_F(AutopilotLaws, ModeWatcherThresholds) {
  g_tokens[103] = 1.0;
  g_tokens[322] = 90.0;
  ap_mode_watch();  // from 0: not falling
  g_tokens[322] = 95.0;
  ap_mode_watch();
  EXPECT_TRUE(take().empty());
  g_tokens[322] = 90.0;
  ap_mode_watch();
  g_tokens[322] = 89.5;
  ap_mode_watch();  // repeats while it keeps falling
  g_tokens[322] = 89.5;
  ap_mode_watch();  // but not while it stands
  EXPECT_EQ(take(), (Events{{65804, 0}, {65817, 0}, {65804, 0}, {65817, 0}}));
  g_tokens[322] = 100.5;
  ap_mode_watch();
  g_tokens[322] = 100.25;  // falling, but above 100
  ap_mode_watch();
  EXPECT_TRUE(take().empty());
  g_tokens[322] = 16000.0;
  ap_mode_watch();
  EXPECT_EQ(take(), (Events{{65813, 0},
                            {65815, 0},
                            {65817, 0},
                            {65818, 0},
                            {65819, 0},
                            {65812, 0},
                            {65816, 0},
                            {65814, 0}}));
}

TEST_F(AutopilotLaws, ModeWatcherStandsAsideAndForgetsNothing) {
  g_tokens[103] = 1.0;
  g_tokens[322] = 95.0;
  ap_mode_watch();
  g_tokens[60] = 1.0;  // standing aside: the previous value stays 95
  g_tokens[322] = 90.0;
  ap_mode_watch();
  EXPECT_EQ(Previous_Token_322, 95.0);
  g_tokens[60] = 0.0;
  g_tokens[103] = 0.0;
  ap_mode_watch();
  EXPECT_TRUE(take().empty());
  g_tokens[103] = 1.0;
  ap_mode_watch();
  EXPECT_EQ(take(), (Events{{65804, 0}, {65817, 0}}));
  // a watched value that is no number sends nothing and is then forgotten
  g_tokens[322] = kNan;
  ap_mode_watch();
  g_tokens[322] = 20.0;
  ap_mode_watch();
  EXPECT_TRUE(take().empty());
}

TEST_F(AutopilotLaws, AQuietUpdateWithTheAutopilotOffSendsNothing) {
  g_tokens[78] = 4.0;
  g_tokens[783] = kRadiansPerDegree;
  update();
  EXPECT_TRUE(take().empty());
  EXPECT_EQ(Pitch_Reference, -4.0);
  EXPECT_DOUBLE_EQ(Trim_Accumulator, 9.0);
}

// The turn knob's third whose rectangle starts at x.
MouseCallback knob_third(std::int32_t x) {
  for (MouseRect *r = Manual_Autopilot_Header.mouse_rect; r->rect_type != kMouseEnd; ++r)
    if (r->rect_type == kMouseChild && r->relative_box.x == x && r->relative_box.size_y == 30)
      return r->mouse_function;
  return nullptr;
}

TEST_F(AutopilotLaws, TheTurnKnobEngagesOnlyStrictlyWithinThreeOfLevel) {
  MouseCallback centre = knob_third(21);
  MouseCallback right = knob_third(42);
  ASSERT_TRUE(centre && right);
  Bank_Target = 2.5;
  centre(nullptr, 0);
  EXPECT_EQ(Bank_Target, 2.0);
  EXPECT_EQ(Roll_Channel_On, 1);
  EXPECT_EQ(take().size(), 5u);
  Roll_Channel_On = 0;
  Bank_Target = 3.0;
  right(nullptr, 0);
  Bank_Target = -3.0;
  centre(nullptr, 0);
  EXPECT_EQ(Bank_Target, -2.4);
  EXPECT_EQ(Roll_Channel_On, 0);
  EXPECT_TRUE(take().empty());
  Bank_Target = 27.0;
  right(nullptr, 0);
  EXPECT_EQ(Bank_Target, 27.5);
  right(nullptr, 0);
  EXPECT_EQ(Bank_Target, 27.5);
}

}  // namespace
