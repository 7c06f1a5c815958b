// The served panel's session against the real module: scenarios that reach
// their state, a mouse that reaches only what is shown, a flight model that
// flies.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "frame/host_names.h"
#include "host/script/host_resources.h"
#include "host/serve/serve.h"

namespace z480 {
namespace {

std::unique_ptr<PanelSession> open_session(const std::string &scenario, std::ostream &out) {
  std::string why;
  auto s = PanelSession::open(Z480_MODULE_PATH, std::string(host_resource("PANEL", 1)), scenario, out, &why,
                              {Z480_PANEL_FOLDER});
  EXPECT_TRUE(s) << why;
  return s;
}

TEST(ServeSession, ScenariosReachTheirState) {
  std::ostringstream out;
  auto s = open_session("cold", out);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->host().var(kVarBatteryMaster), 0);
  EXPECT_EQ(s->host().var(kVarBusVoltage), 0);

  std::string why;
  ASSERT_TRUE(s->reset("ready", &why)) << why;
  EXPECT_EQ(s->host().var(kVarBatteryMaster), 1);
  EXPECT_GT(s->host().var(kVarBusVoltage), 20);
  EXPECT_GT(s->host().var(kVarEngine1N2), 50);
  EXPECT_GT(s->host().var(kVarEngine2N2), 50);
  EXPECT_EQ(s->host().var(kVarRadioHeight), 0);

  ASSERT_TRUE(s->reset("approach", &why)) << why;
  EXPECT_NEAR(s->host().var(kVarIndicatedAltitude), 3000, 1);
  EXPECT_NEAR(s->host().var(kVarRadioHeight), 3000 * 0.3048, 1);
  // On the centreline, on the glide path.
  EXPECT_NEAR(s->host().var(kVarHsiLateralDeviation), 0, 0.01);
  EXPECT_NEAR(s->host().var(kVarHsiGlideSlopeDeviation), 0, 0.2);
  // The scenario scripts' own checks held; the only warning is a gauge the
  // module does not carry.
  EXPECT_EQ(out.str().find("failed"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("error"), std::string::npos) << out.str();

  std::uint64_t generation = s->generation();
  EXPECT_FALSE(s->reset("spiral dive", &why));
  EXPECT_EQ(s->generation(), generation);
  EXPECT_EQ(s->scenario(), "approach");
}

TEST(ServeSession, MouseReachesOnlyWhatIsShownAndInside) {
  std::ostringstream out;
  auto s = open_session("cold", out);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->mouse({"No_Such_Gauge", 1, 1, kMouseLeftSingle}), MouseResult::kNoGauge);
  EXPECT_EQ(s->mouse({"Airspeed", 4000, 1, kMouseLeftSingle}), MouseResult::kOutside);
  // Once the battery switch's window is closed, nothing is taken.
  ASSERT_TRUE(s->set_window({250, true}));
  EXPECT_EQ(s->mouse({"Master_Battery_Switch", 20, 30, kMouseLeftSingle}), MouseResult::kTaken);
  s->frame();
  ASSERT_TRUE(s->set_window({250, false}));
  EXPECT_EQ(s->mouse({"Master_Battery_Switch", 20, 30, kMouseLeftSingle}), MouseResult::kMissed);
  s->frame();
  EXPECT_EQ(s->host().var(kVarBatteryMaster), 1);
  // A held button does not repeat a switch that does not repeat.
  ASSERT_TRUE(s->set_window({250, true}));
  EXPECT_EQ(s->mouse({"Master_Battery_Switch", 20, 30, kMouseLeftSingle | kMouseDownRepeat}),
            MouseResult::kMissed);

  auto hover = s->hover("Master_Battery_Switch", 20, 30);
  ASSERT_TRUE(hover);
  EXPECT_EQ(hover->cursor, kCursorHand);
  EXPECT_FALSE(s->hover("Master_Battery_Switch", 20, 5000));
}

TEST(FlightModel, FliesWhereItIsPointed) {
  std::ostringstream out;
  auto s = open_session("approach", out);
  ASSERT_TRUE(s);
  // Nose down a little with the power on: down the glide path.
  s->controls({.pitch = -1, .bank = std::nullopt, .power = std::nullopt});
  for (int i = 0; i < 10 * Host::kFramesPerSecond; ++i) s->frame();
  const FlightState &f = s->flight().state();
  EXPECT_LT(f.altitude, 3000);
  EXPECT_LT(f.vertical_speed, -300);
  EXPECT_GT(f.airspeed, 100);
  // A right bank turns right.
  double heading = f.heading;
  s->controls({.pitch = std::nullopt, .bank = 20, .power = std::nullopt});
  for (int i = 0; i < 5 * Host::kFramesPerSecond; ++i) s->frame();
  EXPECT_GT(f.heading, heading + 2);
  EXPECT_LT(s->host().var(kVarBank), 0);  // the host counts the left wing down
  // Nose down to the ground: it stops there.
  s->controls({.pitch = -20, .bank = 0, .power = std::nullopt});
  for (int i = 0; i < 240 * Host::kFramesPerSecond && f.altitude > 0; ++i) s->frame();
  EXPECT_EQ(f.altitude, 0);
  s->frame();
  EXPECT_EQ(s->host().var(kVarRadioHeight), 0);
}

TEST(FlightModel, IlsDeviationSides) {
  // 5 nm out on the approach to runway 04 (coming from 220).
  auto at = [](double right_nm, double feet) {
    double a = 220 * 3.14159265358979 / 180, r = 130 * 3.14159265358979 / 180;
    FlightState s;
    s.east = 5 * std::sin(a) + right_nm * std::sin(r);
    s.north = 5 * std::cos(a) + right_nm * std::cos(r);
    s.altitude = feet;
    return ils_deviation(s);
  };
  double on_path = 5 * 6076.12 * std::tan(3 * 3.14159265358979 / 180);
  EXPECT_NEAR(at(0, on_path).lateral, 0, 1e-9);
  EXPECT_NEAR(at(0, on_path).vertical, 0, 1e-6);
  EXPECT_LT(at(0.1, on_path).lateral, 0);  // right of it: the centreline lies left
  EXPECT_GT(at(-0.1, on_path).lateral, 0);
  EXPECT_LT(at(0, on_path + 300).vertical, 0);  // above it: the path lies below
  EXPECT_EQ(at(0, 0).vertical, 1);              // far below: pinned at full scale
  EXPECT_EQ(ils_deviation(FlightState{}).lateral, 0);  // over the threshold itself
}

}  // namespace
}  // namespace z480
