// The served panel's session against the real module: scenarios that reach
// their state, a mouse that reaches only what is shown, a strip that flies
// the aircraft through its controls.
#include <gtest/gtest.h>

#include <cmath>
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
  // Both engines at ground idle, not at the full power JSBSim starts them at.
  EXPECT_NEAR(s->host().var(kVarEngine1N2), 62, 1);
  EXPECT_NEAR(s->host().var(kVarEngine2N2), 62, 1);
  EXPECT_NEAR(s->host().var(kVarRadioHeight), 0, 0.01);  // metres: on its wheels

  ASSERT_TRUE(s->reset("approach", &why)) << why;
  EXPECT_NEAR(s->host().var(kVarIndicatedAltitude), 3000, 60);
  EXPECT_NEAR(s->host().var(kVarIndicatedAirspeed), 150, 5);
  EXPECT_NEAR(s->host().var(kVarRadioHeight),
              (s->host().var(kVarIndicatedAltitude) - nav_database().elevation_ft) * 0.3048, 3);
  // On the centreline, on the glide path.
  EXPECT_NEAR(s->host().var(kVarHsiLateralDeviation), 0, 0.05);
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

TEST(FlightStrip, FliesTheAircraftThroughItsControls) {
  std::ostringstream out;
  auto s = open_session("approach", out);
  ASSERT_TRUE(s);
  ASSERT_TRUE(s->flight().flying) << out.str();
  auto fly = [&](double seconds) {
    for (int i = 0; i < seconds * Host::kFramesPerSecond; ++i) s->frame();
    return s->flight();
  };
  // Hands off, it was handed over trimmed: it stays about level.
  FlightReadout f = fly(5);
  EXPECT_NEAR(f.altitude, 3000, 100);
  EXPECT_NEAR(f.vertical_speed, 0, 400);
  EXPECT_EQ(f.pitch, -s->host().var(kVarPitch));

  // A pull raises the nose and climbs; a push lowers it and descends.
  s->controls({.elevator = -0.15});
  f = fly(4);
  EXPECT_GT(f.pitch, 5);
  EXPECT_GT(f.vertical_speed, 500);
  s->controls({.elevator = 0.15});
  f = fly(6);
  EXPECT_LT(f.pitch, 0);
  EXPECT_LT(f.vertical_speed, -500);
  s->controls({.elevator = 0});

  // Right aileron banks right (the host counts the left wing down) and the
  // heading comes round to the right.
  double heading = f.heading;
  s->controls({.aileron = 0.2});
  f = fly(3);
  EXPECT_GT(f.bank, 10);
  EXPECT_LT(s->host().var(kVarBank), 0);
  s->controls({.aileron = 0});
  f = fly(4);
  EXPECT_GT(f.heading, heading + 3);
  EXPECT_EQ(f.hands.aileron, 0);
  EXPECT_EQ(f.hands.elevator, 0);

  // The power levers go where the strip puts them; idle slows it down.
  double speed = f.speed;
  s->controls({.power = 0});
  f = fly(10);
  EXPECT_EQ(f.power, 0);
  EXPECT_EQ(s->host().var(kVarEngine2PowerLever), 0);
  EXPECT_LT(f.speed, speed - 5);
  EXPECT_FALSE(f.stall_warning);
  // Pulled hard, the wing nears its stall and the strip shows the warning.
  s->controls({.elevator = -0.6});
  f = fly(2);
  EXPECT_TRUE(f.stall_warning);
}

TEST(FlightStrip, HandsOnTheRudderYawTheAircraftOnTheGround) {
  std::ostringstream out;
  auto s = open_session("ready", out);
  ASSERT_TRUE(s);
  ASSERT_TRUE(s->flight().flying) << out.str();
  s->controls({.rudder = 1, .power = 0.5});
  double heading = s->flight().heading;
  for (int i = 0; i < 20 * Host::kFramesPerSecond; ++i) s->frame();
  FlightReadout f = s->flight();
  EXPECT_GT(f.speed, 10);
  EXPECT_GT(wrap180(f.heading - heading), 10);  // the nosewheel steers with the pedals
  EXPECT_EQ(f.hands.rudder, 1);
}

}  // namespace
}  // namespace z480
