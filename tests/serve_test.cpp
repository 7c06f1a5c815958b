// The served panel against the real module: scenarios that reach their
// state, a strip that flies the aircraft through its controls, only changed gauges redrawn, and an
// HTTP server that refuses what is not local or not well formed without
// changing anything.
#include <gtest/gtest.h>
#include <httplib.h>

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

TEST(ServeSession, OnlyChangedGaugesAreRedrawn) {
  std::ostringstream out;
  auto s = open_session("cold", out);
  ASSERT_TRUE(s);
  // Every gauge of a shown window has its picture; none of a closed one.
  for (const GaugeImage &g : s->gauges()) {
    EXPECT_EQ(g.png.empty(), !s->host().window_shown(g.window)) << g.alias;
    if (!g.png.empty()) {
      EXPECT_EQ(g.png.substr(1, 3), "PNG") << g.alias;
    }
  }
  EXPECT_EQ(s->draw_changed(), 0);

  // A battery that comes on moves some gauges more than move by themselves
  // (the clock, the engines' last turns), not the whole panel.
  ASSERT_TRUE(s->set_window({250, true}));
  s->frame();
  s->draw_changed();
  s->frame();
  int idle = s->draw_changed();
  ASSERT_EQ(s->mouse({"Master_Battery_Switch", 20, 30, kMouseLeftSingle}), MouseResult::kTaken);
  s->frame();
  int drawn = s->draw_changed();
  EXPECT_GT(drawn, idle);
  EXPECT_LT(drawn, idle + 20);

  // A window that opens is drawn; one that closes drops its pictures.
  ASSERT_TRUE(s->set_window({50, true}));
  s->frame();
  EXPECT_GE(s->draw_changed(), 5);
  ASSERT_TRUE(s->set_window({50, false}));
  s->frame();
  s->draw_changed();
  for (const GaugeImage &g : s->gauges())
    if (g.window == 50) {
      EXPECT_TRUE(g.png.empty()) << g.alias;
    }
  EXPECT_FALSE(s->set_window({4242, true}));
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

// The HTTP face: a server on a free loopback port, a client as a page would be.
class ServeHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    auto s = open_session("cold", out);
    ASSERT_TRUE(s);
    session = s.get();
    server = std::make_unique<PanelServer>(std::move(s));
    port = server->bind(0);
    ASSERT_GT(port, 0);
    thread = std::thread([this] { server->run(); });
    client = std::make_unique<httplib::Client>("127.0.0.1", port);
  }
  void TearDown() override {
    server->stop();
    if (thread.joinable()) thread.join();
  }
  int post(const std::string &path, const std::string &body, httplib::Headers headers = {}) {
    auto r = client->Post(path.c_str(), headers, body, "application/x-www-form-urlencoded");
    return r ? r->status : -1;
  }

  std::ostringstream out;
  PanelSession *session = nullptr;
  std::unique_ptr<PanelServer> server;
  std::unique_ptr<httplib::Client> client;
  std::thread thread;
  int port = 0;
};

TEST_F(ServeHttp, RefusesWhatIsNotLocalOrNotWellFormed) {
  const std::string battery = "gauge=Master_Battery_Switch&x=20&y=30&action=left";
  EXPECT_EQ(post("/api/mouse", battery, {{"Host", "example.com"}}), 403);
  EXPECT_EQ(post("/api/mouse", battery, {{"Origin", "http://example.com"}}), 403);
  EXPECT_EQ(post("/api/mouse", battery, {{"Origin", "null"}}), 403);
  EXPECT_EQ(post("/api/mouse", "gauge=Nope&x=20&y=30&action=left"), 404);
  EXPECT_EQ(post("/api/mouse", "gauge=Master_Battery_Switch&x=20&y=3000&action=left"), 400);
  EXPECT_EQ(post("/api/mouse", "{\"gauge\":\"Master_Battery_Switch\"}"), 400);
  EXPECT_EQ(post("/api/mouse", battery + "&x=21"), 400);  // a field twice
  EXPECT_EQ(post("/api/controls", "power=2"), 400);
  EXPECT_EQ(post("/api/sim", "rate=fast"), 400);
  EXPECT_EQ(post("/api/scenario", "name=spiral"), 404);
  EXPECT_EQ(post("/api/window", "ident=4242&shown=1"), 404);
  EXPECT_EQ(post("/api/hover", "gauge=Airspeed&x=1&y=1&action=left"), 400);
  auto gauge = client->Get("/api/gauge?gauge=Nope");
  ASSERT_TRUE(gauge);
  EXPECT_EQ(gauge->status, 404);
  auto sound = client->Get("/api/sound?id=x");
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->status, 400);
  for (auto [query, status] : {std::pair{"window=main", 400}, {"window=4242", 404}}) {
    auto background = client->Get(std::string("/api/background?") + query);
    ASSERT_TRUE(background);
    EXPECT_EQ(background->status, status) << query;
  }
  // None of that moved anything.
  server->tick();
  EXPECT_EQ(session->host().var(kVarBatteryMaster), 0);
  EXPECT_EQ(session->scenario(), "cold");
  EXPECT_EQ(session->power(), 0);

  // The same click from a page of this machine goes through.
  EXPECT_EQ(post("/api/window", "ident=250&shown=1"), 200);
  EXPECT_EQ(post("/api/mouse", battery, {{"Origin", "http://localhost:" + std::to_string(port)}}), 200);
  server->tick();
  server->tick();
  auto token = client->Get("/api/token?token=364");
  ASSERT_TRUE(token);
  EXPECT_EQ(token->body, "{\"value\":1}");
}

TEST_F(ServeHttp, ServesThePageTheSoundsAndTheStream) {
  auto page = client->Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("/panel.js"), std::string::npos);
  auto click = client->Get("/api/sound?id=10");
  ASSERT_TRUE(click);
  EXPECT_EQ(click->status, 200);
  EXPECT_EQ(click->body.substr(0, 4), "RIFF");

  // A page that connects first learns the layout, then frames with every
  // shown gauge's picture.
  std::string stream;
  client->Get("/api/stream", [&](const char *data, std::size_t n) {
    stream.append(data, n);
    return stream.find("event: frame") == std::string::npos;
  });
  EXPECT_EQ(stream.rfind("event: layout\ndata: {\"scenario\":\"cold\"", 0), 0u) << stream.substr(0, 80);
  EXPECT_NE(stream.find("\"Airspeed\":\"iVBOR"), std::string::npos);

  // Each window's background comes once, as an image the layout names,
  // never with the frames.
  std::string overhead = "\"background\":\"/api/background?window=250&panel=";
  auto at = stream.find(overhead);
  ASSERT_NE(at, std::string::npos) << stream.substr(0, 400);
  std::string url = stream.substr(at + 14, stream.find('"', at + 14) - at - 14);
  auto background = client->Get(url);
  ASSERT_TRUE(background);
  EXPECT_EQ(background->status, 200);
  EXPECT_EQ(background->get_header_value("Content-Type"), "image/png");
  EXPECT_EQ(background->body.substr(1, 3), "PNG");
  EXPECT_EQ(stream.find("background", stream.find("event: frame")), std::string::npos);
}

}  // namespace
}  // namespace z480
