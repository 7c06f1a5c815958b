// The traffic source against a scripted host traffic interface, its
// geometry and threat rules, and the radar display's screen positions and
// readout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "frame/host_names.h"
#include "frame/services.h"
#include "host/core/host.h"
#include "host/core/traffic_slots.h"
#include "platform/draw_control.h"
#include "radar/radar_display.h"
#include "radar/traffic.h"

namespace {

// --- geometry and threat

TEST(GreatCircle, DistancesAndBearingsFromTheSecondPoint) {
  GreatCircle north = great_circle(46, 7, 45, 7);
  EXPECT_NEAR(north.distance, 60.0, 1e-9);
  EXPECT_NEAR(north.bearing, 0.0, 1e-5);
  GreatCircle east = great_circle(45, 8, 45, 7);
  EXPECT_LT(east.bearing, 90.0);
  EXPECT_GT(east.bearing, 89.0);
  GreatCircle west = great_circle(45, 6, 45, 7);
  EXPECT_GT(west.bearing, 270.0);
  EXPECT_LT(west.bearing, 271.0);
  GreatCircle same = great_circle(45, 7, 45, 7);
  EXPECT_EQ(same.distance, 0.0);
  EXPECT_EQ(same.bearing, 180.0);
}

TEST(GreatCircle, PolesAntipodesAndNoNumbersGiveFiniteAnswers) {
  struct Case {
    double lat1, lon1, lat2, lon2;
  };
  const Case cases[] = {
      {45, 7, 90, 0},     {45, 7, -90, 0},   {90, 0, 45, 7},     {-90, 0, 45, 7},
      {10, 20, -10, -160}, {0, 0, 0, 180},   {NAN, 7, 45, 7},    {45, INFINITY, 45, 7},
      {89.9999999, 0, 90, 0}, {45, 7, 45.0000000001, 7},
  };
  for (const Case &c : cases) {
    GreatCircle g = great_circle(c.lat1, c.lon1, c.lat2, c.lon2);
    EXPECT_TRUE(std::isfinite(g.distance) && std::isfinite(g.bearing))
        << c.lat1 << " " << c.lon1 << " " << c.lat2 << " " << c.lon2;
    EXPECT_GE(g.bearing, 0.0);
    EXPECT_LE(g.bearing, 360.0);
    EXPECT_LE(g.distance, 10800.0);
  }
  // Seen from the north pole everything lies south.
  EXPECT_EQ(great_circle(45, 7, 90, 0).bearing, 180.0);
  EXPECT_NEAR(great_circle(0, 0, 0, 180).distance, 10800.0, 1e-6);
}

TEST(ThreatLevel, TimeToContactDecides) {
  EXPECT_EQ(threat_level(1.0, 50, 1500), kThreatAdvisory);  // 30 s
  EXPECT_EQ(threat_level(1.0, 50, 900), kThreatWarning);    // 18 s
  EXPECT_EQ(threat_level(1.0, 50, 1750), kThreatAdvisory);  // exactly 35 s
  EXPECT_EQ(threat_level(1.0, 50, 1000), kThreatWarning);   // exactly 20 s
  EXPECT_EQ(threat_level(1.0, 50, 1800), kThreatNone);
  EXPECT_EQ(threat_level(1.0, -50, 100), kThreatNone);  // opening
  EXPECT_EQ(threat_level(0.0, 500, 100), kThreatEnginesOff);
  EXPECT_EQ(threat_level(0.5, 500, 100), kThreatWarning);  // only exactly 0 is stopped
  EXPECT_EQ(threat_level(1.0, 0, 0), kThreatNone);         // the user's own aircraft
  EXPECT_EQ(threat_level(1.0, INFINITY, 5000), kThreatWarning);
}

TrafficTarget target(std::uint32_t id, double slant = 1000, double combustion = 1.0) {
  TrafficTarget t{};
  t.id = id;
  t.slant_range = slant;
  t.combustion = combustion;
  return t;
}

TEST(ComparePrevious, FindsEveryIdOfTheSortedListWhateverItsSize) {
  // Ids more than 2^31 apart: a comparison by signed difference misorders them.
  std::vector<std::uint32_t> ids = {7, 0x80000010u, 1, 0xFFFFFFF0u, 0x7FFFFFFFu, 0x80000000u, 0};
  std::vector<TrafficTarget> old;
  for (std::uint32_t id : ids) old.push_back(target(id, 1500));
  sort_by_id(old.data(), static_cast<std::uint32_t>(old.size()));
  for (std::uint32_t id : ids) {
    TrafficTarget now = target(id, 1450);
    compare_previous(now, old.data(), static_cast<std::uint32_t>(old.size()), 1.0, false);
    EXPECT_EQ(now.closure_rate, 50.0) << id;
    EXPECT_EQ(now.threat, kThreatAdvisory) << id;
  }
}

TEST(ComparePrevious, NewTargetsAndNoTimeStepChangeNothing) {
  TrafficTarget old[] = {target(1, 1500), target(3, 1500)};
  TrafficTarget fresh = target(2, 100);
  compare_previous(fresh, old, 2, 1.0, true);
  EXPECT_EQ(fresh.threat, 0);
  EXPECT_EQ(fresh.closure_rate, 0.0);
  EXPECT_EQ(fresh.ground_speed, 0.0);
  for (double dt : {0.0, -1.0, std::nan("")}) {
    TrafficTarget same = target(1, 100, 0.0);
    compare_previous(same, old, 2, dt, false);
    EXPECT_EQ(same.threat, 0);
    EXPECT_EQ(same.closure_rate, 0.0);
  }
  compare_previous(fresh, nullptr, 0, 1.0, false);
  EXPECT_EQ(fresh.threat, 0);
}

TEST(ComparePrevious, ReducedModeTakesTheSpeedFromThePositions) {
  TrafficTarget old = target(9);
  old.latitude = 45;
  old.longitude = 7;
  TrafficTarget still = old;
  compare_previous(still, &old, 1, 1.0, true);
  EXPECT_EQ(still.ground_speed, 1.0);
  TrafficTarget moved = old;
  moved.latitude = 45 + 1.0 / 60;  // one nautical mile in a minute
  compare_previous(moved, &old, 1, 60.0, true);
  EXPECT_NEAR(moved.ground_speed, 60.0, 1e-6);
  TrafficTarget full = moved;
  full.ground_speed = 5;
  compare_previous(full, &old, 1, 60.0, false);
  EXPECT_EQ(full.ground_speed, 5.0);
}

// --- the traffic source against a host

struct Plane {
  std::uint32_t id;
  std::map<std::string, double> values;
  std::string atc;
};

// A host's traffic interface: ids numbered from 100 (variables) and 10
// (units), values by variable name, and a count it may exaggerate.
class FakeTraffic final : public z480::TrafficFakeSlots {
 public:
  std::vector<Plane> planes;
  std::int32_t extra_reported = 0;
  bool reduced = false;
  std::vector<std::string> names = {"PLANE LATITUDE", "PLANE LONGITUDE", "PLANE ALTITUDE",
                                    "INDICATED ALTITUDE", "VELOCITY WORLD Z", "VELOCITY WORLD X",
                                    "PLANE HEADING DEGREES TRUE", "ATC ID", "ENG COMBUSTION"};
  std::vector<std::string> units = {"FEET", "BOOL", "DEGREES", "KNOTS"};

  std::int32_t GetVariableId(const char *name) override { return 100 + index(names, name); }
  std::int32_t GetUnitsId(const char *name) override { return 10 + index(units, name); }
  std::int32_t GetAircraftInRadius(double, std::int32_t max, std::uint32_t *ids) override {
    std::int32_t n = 0;
    for (const Plane &p : planes)
      if (n < max) ids[n++] = p.id;
    return static_cast<std::int32_t>(planes.size()) + extra_reported;
  }
  std::int32_t GetAircraftValue(std::uint32_t id, std::int32_t var, std::int32_t, double *v,
                                std::int32_t) override {
    const Plane *p = find(id);
    if (!p || var < 100 || var >= 100 + static_cast<int>(names.size())) return 0;
    auto it = p->values.find(names[var - 100]);
    if (it != p->values.end()) *v = it->second;
    return 1;
  }
  std::int32_t GetAircraftString(std::uint32_t id, std::int32_t, char *buffer, std::int32_t length,
                                 std::int32_t) override {
    const Plane *p = find(id);
    if (!p) return 0;
    std::size_t n = std::min<std::size_t>(p->atc.size(), length);
    std::memcpy(buffer, p->atc.data(), n);
    buffer[n] = '\0';
    return 1;
  }
  std::int32_t IsReducedMode() override { return reduced; }
  const char *GetAircraftLabel(std::uint32_t id, std::int32_t) override {
    const Plane *p = find(id);
    return p ? p->atc.c_str() : nullptr;
  }

 private:
  static std::int32_t index(const std::vector<std::string> &list, const char *name) {
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i] == name) return static_cast<std::int32_t>(i);
    return -50;
  }
  const Plane *find(std::uint32_t id) const {
    for (const Plane &p : planes)
      if (p.id == id) return &p;
    return nullptr;
  }
};

// The panel services the traffic source calls: the clock, the user's
// aircraft (by the ids the fake hands out) and the interface.
struct FakeHost {
  FakeTraffic traffic;
  bool offers_traffic = true;
  double clock = 0;
  std::map<std::int32_t, double> user;  // by variable id
  PanelServices services{};
  PanelServices *saved = ImportTable.panels.fn_ptr;

  static FakeHost *&current() {
    static FakeHost *host = nullptr;
    return host;
  }
  FakeHost() {
    current() = this;
    services.lookup_var = [](ModuleVar *v) {
      v->var_value.n = v->id == kVarSimulationTime ? current()->clock : 0.0;
    };
    services.aircraft_varget = [](std::int32_t var, std::int32_t, std::int32_t) {
      auto &u = current()->user;
      auto it = u.find(var);
      return it == u.end() ? 0.0 : it->second;
    };
    services.query_host_interface = [](const char *) -> void * {
      FakeHost *h = current();
      return h->offers_traffic ? static_cast<TrafficProvider *>(&h->traffic) : nullptr;
    };
    ImportTable.panels.fn_ptr = &services;
    set_user(45, 7, 5000);
  }
  ~FakeHost() {
    ImportTable.panels.fn_ptr = saved;
    current() = nullptr;
  }
  void set_user(double lat, double lon, double alt) {
    user[100] = lat;
    user[101] = lon;
    user[103] = alt;
  }
  Plane &add(std::uint32_t id, double lat, double lon, double alt, const std::string &atc = "") {
    traffic.planes.push_back({id,
                              {{"PLANE LATITUDE", lat},
                               {"PLANE LONGITUDE", lon},
                               {"INDICATED ALTITUDE", alt},
                               {"PLANE ALTITUDE", alt},
                               {"ENG COMBUSTION", 1.0}},
                              atc});
    return traffic.planes.back();
  }
};

TEST(TrafficSource, WithoutAnInterfaceTheListStaysEmpty) {
  FakeHost host;
  host.offers_traffic = false;
  TrafficSource source;
  host.add(1, 45.1, 7, 5000);
  EXPECT_EQ(source.refresh(100, 144.0), 0u);
  EXPECT_EQ(source.count(), 0u);
  EXPECT_EQ(source.list(), nullptr);
}

TEST(TrafficSource, ReadsTheHostsIdsAndRelatesEachAircraftToTheUser) {
  FakeHost host;
  TrafficSource source;
  Plane &p = host.add(42, 46, 7, 6000, "F-GABCDEFGHIJ");
  p.values["VELOCITY WORLD Z"] = -120;  // southbound
  p.values["VELOCITY WORLD X"] = 0;
  host.add(43, 45, 7, 5001, "SELF");  // the user's own aircraft, as the host lists it
  ASSERT_EQ(source.refresh(100, 144.0), 2u);
  const TrafficTarget &t = source.list()[0];
  EXPECT_EQ(t.id, 42u);
  EXPECT_NEAR(t.distance, 60.0, 1e-9);
  EXPECT_NEAR(t.bearing, 0.0, 1e-5);
  EXPECT_EQ(t.relative_altitude, 1000.0);
  EXPECT_NEAR(t.slant_range, std::hypot(1000.0, 60 * 1851.8518518518517 * 3.28084), 1e-6);
  EXPECT_STREQ(t.atc_id, "F-GABCDEFG");  // ten characters at most
  EXPECT_NEAR(t.track, 180.0, 1e-9);
  EXPECT_EQ(t.ground_speed, 120.0);
  EXPECT_EQ(t.threat, kThreatNone);
  const TrafficTarget &self = source.list()[1];
  EXPECT_EQ(self.slant_range, 0.0);
  EXPECT_EQ(self.distance, 0.0);
}

TEST(TrafficSource, AHostThatClaimsMoreThanTheMaximumIsHeldToIt) {
  FakeHost host;
  TrafficSource source;
  for (std::uint32_t i = 0; i < 150; ++i) host.add(i, 45 + i * 0.01, 7, 5000);
  host.traffic.extra_reported = 1000000;
  EXPECT_EQ(source.refresh(100, 144.0), 100u);
  EXPECT_EQ(source.count(), 100u);
  EXPECT_EQ(source.list()[99].id, 99u);
  host.traffic.extra_reported = -1000;  // a negative count is none
  EXPECT_EQ(source.refresh(100, 144.0), 0u);
  EXPECT_EQ(source.count(), 100u);
}

TEST(TrafficSource, NoAircraftKeepsTheLastList) {
  FakeHost host;
  TrafficSource source;
  host.add(5, 45.1, 7, 5000);
  ASSERT_EQ(source.refresh(100, 144.0), 1u);
  host.traffic.planes.clear();
  EXPECT_EQ(source.refresh(100, 144.0), 0u);
  ASSERT_EQ(source.count(), 1u);
  EXPECT_EQ(source.list()[0].id, 5u);
}

TEST(TrafficSource, ThreatsComeFromTheSecondRefreshOn) {
  FakeHost host;
  TrafficSource source;
  // Straight above the user, closing at 50 ft/s: from 1500 ft an advisory,
  // from 900 ft a warning; the stopped one turns white only when compared.
  host.add(1, 45, 7, 6500);
  host.add(2, 45, 7, 5900);
  host.add(3, 45, 7, 9000).values["ENG COMBUSTION"] = 0.0;
  host.add(4, 45, 7, 4000);  // below, opening
  host.clock = 100;
  source.refresh(100, 144.0);
  for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(source.list()[i].threat, kThreatNone);
  host.traffic.planes[0].values["INDICATED ALTITUDE"] = 6450;
  host.traffic.planes[1].values["INDICATED ALTITUDE"] = 5850;
  host.traffic.planes[3].values["INDICATED ALTITUDE"] = 3950;
  host.clock = 101;
  source.refresh(100, 144.0);
  EXPECT_EQ(source.list()[0].threat, kThreatAdvisory);
  EXPECT_EQ(source.list()[0].closure_rate, 50.0);
  EXPECT_EQ(source.list()[1].threat, kThreatWarning);
  EXPECT_EQ(source.list()[2].threat, kThreatEnginesOff);
  EXPECT_EQ(source.list()[3].threat, kThreatNone);
  // The same clock again: no time has passed, so no threat.
  source.refresh(100, 144.0);
  EXPECT_EQ(source.list()[1].threat, kThreatNone);
}

TEST(TrafficSource, ReducedModeUsesTheLabelTrueAltitudeAndHeading) {
  FakeHost host;
  TrafficSource source;
  host.traffic.reduced = true;
  Plane &p = host.add(8, 45.5, 7, 0, "LABEL-LONGER-THAN-TEN");
  p.values["PLANE ALTITUDE"] = 7000;
  p.values["INDICATED ALTITUDE"] = 1;
  p.values["PLANE HEADING DEGREES TRUE"] = -90;
  p.values["ENG COMBUSTION"] = 0.0;
  p.values["VELOCITY WORLD Z"] = 300;
  host.clock = 10;
  source.refresh(100, 144.0);
  const TrafficTarget &t = source.list()[0];
  EXPECT_EQ(t.altitude, 7000.0);
  EXPECT_STREQ(t.atc_id, "LABEL-LONG");
  EXPECT_EQ(t.combustion, 1.0);
  EXPECT_EQ(t.velocity_north, 0.0);
  EXPECT_EQ(t.track, 270.0);
  EXPECT_EQ(t.ground_speed, 0.0);
  host.clock = 11;
  source.refresh(100, 144.0);
  EXPECT_EQ(source.list()[0].ground_speed, 1.0);  // not moved: 1 kt
}

TEST(TrafficSource, HostValuesThatAreNoNumbersStayOffTheScreen) {
  FakeHost host;
  TrafficSource source;
  const double wild[] = {NAN, INFINITY, -INFINITY, 1e308, -1e308};
  std::uint32_t id = 1;
  for (double v : wild) {
    Plane &p = host.add(id++, v, v, v);
    p.values["VELOCITY WORLD Z"] = v;
    p.values["VELOCITY WORLD X"] = -v;
    p.values["ENG COMBUSTION"] = v;
  }
  host.set_user(NAN, INFINITY, 1e308);
  host.clock = NAN;
  source.refresh(100, 144.0);
  host.clock = 5e-324;
  source.refresh(100, 144.0);
  ASSERT_EQ(source.count(), std::size(wild));
  for (std::uint32_t i = 0; i < source.count(); ++i) {
    const TrafficTarget &t = source.list()[i];
    for (double v : {t.latitude, t.longitude, t.altitude, t.bearing, t.distance, t.slant_range,
                     t.relative_altitude, t.track, t.ground_speed})
      EXPECT_TRUE(std::isfinite(v)) << "aircraft " << t.id;
    DrawPoint at = radar_screen_point(t, 0.0, 96, kRadarShortestRange);
    EXPECT_TRUE(std::isfinite(at.x) && std::isfinite(at.y));
  }
}

// --- the display

TEST(RadarDisplay, TargetsLieOnTheScreenByBearingAndDistance) {
  TrafficTarget ahead{};
  ahead.bearing = 30;
  ahead.distance = 7.5;
  DrawPoint p = radar_screen_point(ahead, 30, 96, 15);
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(p.y, -48.0f);
  TrafficTarget abeam{};
  abeam.bearing = 90;
  abeam.distance = 15;
  p = radar_screen_point(abeam, 0, 96, 15);
  EXPECT_FLOAT_EQ(p.x, 96.0f);
  EXPECT_NEAR(p.y, 0.0f, 1e-5);
}

// Hundreds of feet to the nearest hundred; the sign says above or below,
// and traffic at the user's level is tagged above.
TEST(RadarDisplay, AltitudeTagsInHundredsOfFeet) {
  struct Case {
    double feet;
    const char *tag;
  } cases[] = {{1950, "+20"},   {-40, "-00"},  {0, "+00"},    {-0.0, "+00"},  {49, "+00"},
               {-1949, "-19"}, {9960, "+100"}, {-9960, "-100"}, {10000, ""}, {-10000, ""},
               {NAN, ""},      {INFINITY, ""}};
  for (const Case &c : cases) {
    char tag[8] = "junk";
    radar_altitude_tag(c.feet, tag, sizeof tag);
    EXPECT_STREQ(tag, c.tag) << c.feet;
  }
}

TEST(RadarDisplay, TheNearestSymbolWithinThreeUnitsGivesTheReadout) {
  RadarDisplay radar;
  radar.set_cursor(0.5, 0.5);  // the centre
  TrafficTarget a{};
  std::strcpy(a.atc_id, "ABC");
  a.relative_altitude = -1949;
  a.ground_speed = 120.4;
  a.track = 89.6;
  a.distance = 7.45;
  radar.update_readout(a, 3.01, 0);
  EXPECT_STREQ(radar.readout(), "");
  radar.update_readout(a, 0, 3.0);
  EXPECT_STREQ(radar.readout(), "ID: ABC ALT: -1900ft GS: 120kt TRK: 90\xB0 DST: 7.5nm");
  TrafficTarget b = a;
  std::strcpy(b.atc_id, "NEAR");
  radar.update_readout(b, 2.0, 2.0);
  EXPECT_STREQ(radar.readout(), "ID: NEAR ALT: -1900ft GS: 120kt TRK: 90\xB0 DST: 7.5nm");
  TrafficTarget c = a;
  std::strcpy(c.atc_id, "TIE");
  radar.update_readout(c, -2.0, 2.0);  // as near: the first stays
  EXPECT_STREQ(radar.readout(), "ID: NEAR ALT: -1900ft GS: 120kt TRK: 90\xB0 DST: 7.5nm");
}

TEST(RadarDisplay, ASurfaceThatCannotBeHadDrawsNothing) {
  std::size_t before = platform::draw_control::live_objects();
  {
    std::vector<std::uint32_t> pixels(192 * 192, 0x12345678u);
    platform::PixelContext dc{reinterpret_cast<std::uint8_t *>(pixels.data()), 192, 192, 192 * 4};
    HostImage image{};
    image.dim = {192, 192};
    StaticImageElement screen{};
    screen.hdc = &dc;
    screen.image_data.final_image = &image;
    screen.header.image_flags = static_cast<std::int32_t>(kImageOnScreen);
    RadarDisplay radar;
    platform::draw_control::fail_next_call();
    radar.attach_screen(&screen.header, 192, 192);
    radar.set_range(30);
    EXPECT_EQ(pixels[96 * 192 + 96], 0x12345678u);
    EXPECT_EQ(radar.range(), 30.0);
    // Attached again with memory to spare, it draws (black without a bus).
    radar.attach_screen(&screen.header, 192, 192);
    EXPECT_EQ(pixels[96 * 192 + 96], 0xFF000000u);
    EXPECT_EQ(screen.header.image_flags, 0);
  }
  EXPECT_EQ(platform::draw_control::live_objects(), before);
}

TEST(RadarGauge, ConnectAndDisconnectCyclesKeepNothingBehind) {
  std::string error;
  auto module = z480::Module::load(Z480_MODULE_PATH, &error);
  ASSERT_NE(module, nullptr) << error;
  std::size_t before = platform::draw_control::live_objects();
  {
    z480::Host host(*module);
    z480::set_user_aircraft(host, 45, 7, 5000, 0.0);
    host.traffic().put({.id = 1, .latitude = 45.1, .longitude = 7, .altitude = 6000, .atc = "N1"});
    host.set_var(kVarBusVoltage, 28.0);
    z480::Instance *radar = host.place("Radar", "radar", std::nullopt, &error);
    ASSERT_NE(radar, nullptr) << error;
    host.frame();
    std::size_t placed = platform::draw_control::live_objects();
    EXPECT_GT(placed, before);
    for (int i = 0; i < 20; ++i) {
      host.service(*radar, kServiceDisconnect, 0);
      host.service(*radar, kServiceConnect, 0);
      host.service(*radar, kServiceConnect, 0);  // a second connect replaces the first
      host.service(*radar, kServicePostInstall, 0);
      host.frame();
    }
    EXPECT_EQ(platform::draw_control::live_objects(), placed);
    host.remove("radar");
  }
  EXPECT_EQ(platform::draw_control::live_objects(), before);
}

// The display of each placed radar is the instance's own, kept where the
// host leaves room for the gauge's author; a display the drawing layer
// cannot allocate for is dropped without an exception reaching the host.
TEST(RadarGauge, EachInstanceKeepsItsDisplayInItsScratchArea) {
  std::string error;
  auto module = z480::Module::load(Z480_MODULE_PATH, &error);
  ASSERT_NE(module, nullptr) << error;
  z480::Host host(*module);
  host.set_var(kVarBusVoltage, 28.0);
  z480::Instance *one = host.place("Radar", "one", std::nullopt, &error);
  z480::Instance *two = host.place("Radar", "two", std::nullopt, &error);
  ASSERT_TRUE(one && two) << error;
  host.frame();
  auto display = [](z480::Instance *i) {
    void *d = nullptr;
    std::memcpy(&d, &i->header()->user_area[0], sizeof d);
    return d;
  };
  EXPECT_NE(display(one), nullptr);
  EXPECT_NE(display(two), nullptr);
  EXPECT_NE(display(one), display(two));
  EXPECT_EQ(one->header()->reserved7, nullptr);
  host.service(*one, kServiceDisconnect, 0);
  EXPECT_EQ(display(one), nullptr);
  EXPECT_NE(display(two), nullptr);

  // Connecting binds the screen and draws, growing the layer's lists.
  platform::draw_control::throw_next_allocation();
  EXPECT_NO_THROW(host.service(*one, kServiceConnect, 0));
  EXPECT_EQ(display(one), nullptr);
  EXPECT_NO_THROW(host.frame());
  host.service(*one, kServiceConnect, 0);
  EXPECT_NE(display(one), nullptr);
}

}  // namespace
