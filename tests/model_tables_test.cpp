// The electrical, airframe and engine tables of the host's systems model:
// their arithmetic, and how their rules treat the host's variables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "frame/host_names.h"
#include "host/model/airframe_model.h"
#include "host/model/electrical_model.h"
#include "host/model/engine_model.h"
#include "host/model/model_clock.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ElectricalModel, AlternatorsCarryTheBusOverTheBatteryAndFeedTheConverters) {
  EXPECT_EQ(electrical_volts({false, true, {false, false}}).main_bus, 0.0);
  EXPECT_EQ(electrical_volts({false, true, {false, false}}).converter_bus, 0.0);
  ElectricalVolts battery = electrical_volts({true, false, {false, false}});
  EXPECT_EQ(battery.main_bus, kBatteryVolts);
  EXPECT_EQ(battery.converter_bus, 0.0);
  EXPECT_EQ(electrical_volts({true, true, {false, false}}).converter_bus, kConverterBusVolts);
  ElectricalVolts charging = electrical_volts({false, true, {false, true}});
  EXPECT_EQ(charging.main_bus, kAlternatorVolts);
  EXPECT_EQ(charging.converter_bus, kConverterBusVolts);
  EXPECT_EQ(charging.alternator[0], 0.0);
  EXPECT_EQ(charging.alternator[1], kAlternatorVolts);
}

TEST(ElectricalModel, AStarterPullsTheBatteryDownMoreThanAnAlternator) {
  // The draw falls as the engine winds up; an N2 that is no number draws as
  // at rest, one past the cut-out as at the cut-out.
  EXPECT_EQ(starter_amps(0), kStarterPeakAmps);
  EXPECT_EQ(starter_amps(kNan), kStarterPeakAmps);
  EXPECT_EQ(starter_amps(kStarterCutoutN2), kStarterCutoutAmps);
  EXPECT_EQ(starter_amps(kInf), kStarterCutoutAmps);
  EXPECT_GT(starter_amps(10), starter_amps(30));

  ElectricalSwitches start{true, true, {false, false}, starter_amps(0)};
  ElectricalVolts on_battery = electrical_volts(start);
  // A believable dip that still powers what needs 20 V, the converters'
  // output held.
  EXPECT_LT(on_battery.main_bus, kBatteryVolts - 2);
  EXPECT_GT(on_battery.main_bus, 20);
  EXPECT_EQ(on_battery.converter_bus, kConverterBusVolts);
  start.alternator_online[0] = true;
  ElectricalVolts on_alternator = electrical_volts(start);
  EXPECT_LT(on_alternator.main_bus, kAlternatorVolts);
  EXPECT_GT(on_alternator.main_bus, on_battery.main_bus + 4);
  EXPECT_EQ(on_alternator.alternator[0], on_alternator.main_bus);
  // No load that is no number or beyond all reason gives a bus that is.
  EXPECT_EQ(electrical_volts({true, false, {false, false}, kNan}).main_bus, kBatteryVolts);
  EXPECT_EQ(electrical_volts({true, false, {false, false}, 1e9}).main_bus, 0);
  EXPECT_EQ(electrical_volts({true, false, {false, false}, -500}).main_bus, kBatteryVolts);
}

TEST(ElectricalModel, AnAlternatorNeedsItsSwitchAndATurningEngine) {
  EXPECT_TRUE(alternator_online(1, 50));
  EXPECT_FALSE(alternator_online(1, 49.99));
  EXPECT_FALSE(alternator_online(0, 100));
  EXPECT_FALSE(alternator_online(1, kNan));
  EXPECT_TRUE(alternator_online(1, kInf));
}

TEST(AirframeModel, FlapLeverStepsBetweenNotchesAndStopsAtTheEnds) {
  double lever = 0;
  for (double want : {5461.0, 10922.0, 16383.0, 16383.0})
    EXPECT_EQ(lever = flap_notch_step(lever, +1), want);
  for (double want : {10922.0, 5461.0, 0.0, 0.0})
    EXPECT_EQ(lever = flap_notch_step(lever, -1), want);
  // between notches the lever goes to the nearer notch in that direction
  EXPECT_EQ(flap_notch_step(8000, +1), 10922);
  EXPECT_EQ(flap_notch_step(8000, -1), 5461);
  EXPECT_EQ(flap_notch_step(20000, -1), 16383);
  EXPECT_EQ(flap_notch_step(-50, +1), 0);
  EXPECT_EQ(flap_notch_step(kNan, +1), 5461);
}

TEST(AirframeModel, TrimAndReverseStopAtTheirLimits) {
  EXPECT_DOUBLE_EQ(trim_step(0, +1), kTrimStep);
  EXPECT_EQ(trim_step(kTrimStop, +1), kTrimStop);
  EXPECT_EQ(trim_step(-kTrimStop, -1), -kTrimStop);
  EXPECT_EQ(trim_step(kNan, -1), -kTrimStep);
  EXPECT_DOUBLE_EQ(power_lever_step(0.05, -1), 0.0);
  EXPECT_EQ(power_lever_step(-0.24, -1), kReverseStop);
  EXPECT_EQ(power_lever_step(-kInf, -1), -kPowerLeverStep);  // no number: from idle
  EXPECT_EQ(power_lever_step(3.0, -1), 1.0);
}

TEST(AirframeModel, LegsTravelTheirFullWayInTheirTimeAndNoFurther) {
  double leg = 0;
  for (int i = 0; i < 89; ++i) leg = follow_lever(leg, kGearLeverDown, 90);
  EXPECT_LT(leg, kGearLeverDown);
  EXPECT_EQ(leg = follow_lever(leg, kGearLeverDown, 90), kGearLeverDown);
  EXPECT_EQ(follow_lever(leg, kGearLeverDown, 90), kGearLeverDown);
  EXPECT_EQ(follow_lever(kNan, kGearLeverDown, 0), kGearLeverDown);  // no time: at once
  EXPECT_EQ(follow_lever(100, kNan, 90), 0);
}

TEST(AirframeModel, AxisValuesAreSignedWordsKeptWithinTheTravel) {
  EXPECT_EQ(axis_fraction(0), 0.0);
  EXPECT_EQ(axis_fraction(8192), 0.5);
  EXPECT_EQ(axis_fraction(16384), 1.0);
  EXPECT_EQ(axis_fraction(40000), 1.0);
  EXPECT_EQ(axis_fraction(0xFFFFFFFFu), 0.0);
}

// Runs an engine frame by frame until the starter lets go (or a limit).
EngineStep run_start(bool fuel, int *frames) {
  EngineStep s{0.0, true};
  for (*frames = 0; s.starter && *frames < 10000; ++*frames)
    s = engine_step({s.n2, true, fuel, 0.0});
  return s;
}

TEST(EngineModel, TheStarterLetsGoAtCutoutWhenLitAndAtCrankSpeedWhenDry) {
  int frames = 0;
  EngineStep lit = run_start(true, &frames);
  EXPECT_GE(lit.n2, kStarterCutoutN2);
  EXPECT_EQ(frames, 180);  // 50 % at 5 % a second
  EngineStep dry = run_start(false, &frames);
  EXPECT_EQ(dry.n2, kCrankN2);
  // a dry engine then runs down; a lit one goes on to idle by itself
  EXPECT_LT(engine_step({dry.n2, false, false, 0.0}).n2, kCrankN2);
  EngineStep s = lit;
  for (int i = 0; i < 100; ++i) s = engine_step({s.n2, false, true, 0.0});
  EXPECT_EQ(s.n2, kIdleN2);
}

TEST(EngineModel, PowerInEitherDirectionRaisesN2AndMissingNumbersAreRest) {
  EngineStep s{kIdleN2, false};
  for (int i = 0; i < 300; ++i) s = engine_step({s.n2, false, true, -0.25});
  EXPECT_DOUBLE_EQ(s.n2, kIdleN2 + 0.25 * (kMaxN2 - kIdleN2));
  for (int i = 0; i < 300; ++i) s = engine_step({s.n2, false, true, kNan});
  EXPECT_EQ(s.n2, kIdleN2);
  EXPECT_EQ(engine_step({kNan, false, true, 1.0}).n2, 0.0);
  EXPECT_EQ(engine_step({kInf, false, true, 1.0}).n2, 0.0);
  EXPECT_EQ(engine_step({30.0, false, true, 1.0}).n2,
            30.0 - kRunDownRate / Host::kFramesPerSecond);  // not lit below 40 %
}

TEST(EngineModel, ReadingsFollowN2) {
  EngineReadings rest = engine_readings(0, 1);
  EXPECT_EQ(rest.prop_rpm, 0);
  EXPECT_EQ(rest.oil_pressure, 0);
  EngineReadings idle = engine_readings(kIdleN2, 1);
  EXPECT_EQ(idle.prop_rpm, 1.0);
  EXPECT_DOUBLE_EQ(idle.torque, 0.1);
  EXPECT_EQ(idle.oil_pressure, kRunningOilPressure);
  EXPECT_EQ(idle.hydraulic_pressure, kRunningHydraulicPressure);
  EXPECT_DOUBLE_EQ(engine_readings(kMaxN2, 0).torque, 1.0);
  EXPECT_DOUBLE_EQ(engine_readings(kMaxN2, 0).prop_rpm, 0.6);
  EXPECT_EQ(engine_readings(kNan, kNan).torque, 0);
}

// The tables as the host runs them.
class ModelTables : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module_ = Module::load(Z480_PROBE_MODULE_PATH, &error);
    ASSERT_TRUE(module_) << error;
    host_ = std::make_unique<Host>(*module_);
  }
  void event(std::int32_t id, std::uint32_t value = 0) { model_.react(*host_, {id, value}); }
  void frame() { event(kEveryFrame); }
  double var(std::int32_t token) { return host_->var(token); }

  std::unique_ptr<Module> module_;
  std::unique_ptr<Host> host_;
  SystemsModel model_;
};

TEST_F(ModelTables, EveryPanelEventHasARule) {
  for (std::int32_t e : {66241, 66363, 66364, 66293, 65751, 65750, 65560, 66239, 66379, 66378,
                         66079, 66080, 65758, 65759, 65607, 65615, 65820, 65821, 65923, 65924,
                         65966, 65971, 66300, 66301, 66494, 66495, 65919, 65920})
    EXPECT_TRUE(model_.handles(e)) << e;
}

TEST_F(ModelTables, TwoBusTogglesInOneFrameCancelAndTheBusFollowsAtOnce) {
  event(66241);
  event(66293);
  EXPECT_EQ(var(755), kConverterBusVolts);  // before any frame: the gauges see it
  event(66293);
  event(66293);
  EXPECT_EQ(var(740), 1);
  EXPECT_EQ(var(755), kConverterBusVolts);
  event(66293);
  EXPECT_EQ(var(755), 0);
  EXPECT_EQ(var(759), kBatteryVolts);
}

TEST_F(ModelTables, HandSetValuesStayUntilTheModelHasCauseToMoveThem) {
  host_->set_var(759, 27);
  host_->set_var(562, 5000);
  frame();
  EXPECT_EQ(var(759), 27);    // no switch and no alternator changed
  EXPECT_EQ(var(562), 5000);  // the engine is at rest
  host_->set_var(565, 1);
  host_->set_var(625, 60);
  frame();
  EXPECT_EQ(var(759), kAlternatorVolts);
  EXPECT_EQ(var(566), 1);
  EXPECT_LT(var(625), 60);  // no fuel: it runs down
  EXPECT_LT(var(562), kRunningOilPressure);
}

TEST_F(ModelTables, TheStarterNeedsAPoweredBus) {
  event(66300);
  EXPECT_EQ(var(563), 0);
  event(66241);
  event(66301);
  EXPECT_EQ(var(573), 1);
  EXPECT_EQ(var(563), 0);
  event(65920, 16384);
  EXPECT_EQ(var(570), 1);
}

// Each rule works on its own unit: the second engine's button and spooling
// turn the second engine only, the second set's knobs tune within their own
// band, the gear lever reaches its stops.
TEST_F(ModelTables, RulesWorkOnTheUnitTheyName) {
  event(kEventBatteryMasterToggle);
  event(kEventEngine2Starter);
  EXPECT_EQ(var(kVarEngine2Starter), 1);
  EXPECT_EQ(var(kVarEngine1Starter), 0);
  for (int i = 0; i < 36; ++i) frame();
  EXPECT_GT(var(kVarEngine2N2), 0);
  EXPECT_EQ(var(kVarEngine1N2), 0);

  host_->set_var(kVarNav2Frequency, 0x1750);
  event(kEventNav2WholeInc);
  EXPECT_EQ(var(kVarNav2Frequency), 0x0850);  // 117 wraps to 108, the NAV band's
  host_->set_var(kVarTransponderCode, 0x7777);
  event(kEventTransponderThousandsInc);
  EXPECT_EQ(var(kVarTransponderCode), 0x0777);

  event(kEventGearDown);
  EXPECT_EQ(var(kVarGearLever), kGearLeverDown);
  event(kEventGearUp);
  EXPECT_EQ(var(kVarGearLever), kGearLeverUp);
}

}  // namespace
}  // namespace z480
