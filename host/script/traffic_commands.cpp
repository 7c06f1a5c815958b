// Script commands for the host's traffic (registered into the command table
// at load):
//   traffic add ID LAT LON ALT [track T] [speed KT] [vs FPM] [engines on|off]
//               [atc "TEXT"]     an aircraft (degrees, feet; replaces one
//                                with the same id)
//   traffic move ID LAT LON ALT [options as for add]
//                                moves an aircraft; options not given stay
//   traffic remove ID            traffic reduced on|off
//   traffic none                 the host offers no traffic interface
//   traffic user LAT LON ALT [heading H]
//                                the user's aircraft, as aircraft variables
//                                and its heading as token 86
//   traffic fly on|off           the airport's own traffic flies, every
//                                frame, about Heathrow and the user's
//                                aircraft (host/model/traffic_pattern.h);
//                                off takes it out again
#include <memory>
#include <optional>
#include <string>

#include "host/model/traffic_pattern.h"
#include "host/script/script.h"

namespace z480 {
namespace {

bool on_off(Args &a) {
  std::string w = a.word("on or off");
  if (w != "on" && w != "off") throw ScriptError("expected on or off, got " + w);
  return w == "on";
}

std::uint32_t aircraft_id(Args &a) {
  return static_cast<std::uint32_t>(a.integer("an aircraft id", 0, 0xFFFFFFFFll));
}

// The options after the position; those given replace the aircraft's.
struct Options {
  std::optional<double> track, speed, vertical_speed;
  std::optional<bool> engines;
  std::optional<std::string> atc;

  void apply(HostAircraft &plane) const {
    if (track) plane.track = *track;
    if (speed) plane.speed = *speed;
    if (vertical_speed) plane.vertical_speed = *vertical_speed;
    if (engines) plane.engines = *engines;
    if (atc) plane.atc = *atc;
  }
};

Options read_options(Args &a) {
  Options o;
  while (a.more()) {
    if (a.keyword("track"))
      o.track = a.number("a track in degrees");
    else if (a.keyword("speed"))
      o.speed = a.number("a speed in knots");
    else if (a.keyword("vs"))
      o.vertical_speed = a.number("a vertical speed in feet per minute");
    else if (a.keyword("engines"))
      o.engines = on_off(a);
    else if (a.keyword("atc"))
      o.atc = a.text("a quoted ATC id");
    else
      throw ScriptError("expected track, speed, vs, engines or atc, got " + a.peek().text);
  }
  return o;
}

struct Placed {
  double latitude, longitude, altitude;
};
Placed position(Args &a) {
  double lat = a.number("a latitude in degrees");
  double lon = a.number("a longitude in degrees");
  return {lat, lon, a.number("an altitude in feet")};
}

constexpr const char *kTrafficFlyExtension = "traffic fly";

// The user's aircraft as the traffic interface answers for it.
AircraftPosition user_aircraft(const Host &host) {
  auto get = [&host](const char *variable, const char *units) {
    return host.aircraft_var(HostTraffic::variable_id(variable), HostTraffic::units_id(units));
  };
  return {{get("PLANE LATITUDE", "DEGREES"), get("PLANE LONGITUDE", "DEGREES")},
          get("INDICATED ALTITUDE", "FEET"),
          get("PLANE HEADING DEGREES TRUE", "DEGREES")};
}

struct FlyingTraffic {
  TrafficPatterns patterns;
  bool on = false;
};

Step traffic_fly(Args &a) {
  bool on = on_off(a);
  a.done();
  return [on](ScriptRun &run) {
    std::shared_ptr<void> &slot = run.extensions[kTrafficFlyExtension];
    if (!slot) {
      if (!on) return;
      auto fly = std::make_shared<FlyingTraffic>();
      FlyingTraffic *f = fly.get();
      Host &host = run.host;
      host.on_frame([f, &host] {
        if (f->on) f->patterns.fly(host.traffic(), user_aircraft(host), 1.0 / Host::kFramesPerSecond);
      });
      slot = fly;
    }
    auto &f = *std::static_pointer_cast<FlyingTraffic>(slot);
    if (on && !f.on) f.patterns.start(run.host.traffic(), user_aircraft(run.host));
    if (!on && f.on) f.patterns.stop(run.host.traffic());
    f.on = on;
  };
}

Step aircraft_step(const ScriptLine &line, Args &a, bool adding) {
  std::uint32_t id = aircraft_id(a);
  Placed at = position(a);
  Options options = read_options(a);
  return [=](ScriptRun &run) {
    HostTraffic &traffic = run.host.traffic();
    HostAircraft plane;
    if (!adding) {
      HostAircraft *old = traffic.find(id);
      if (!old) return run.error(line, "no aircraft " + std::to_string(id));
      plane = *old;
    }
    options.apply(plane);
    plane.id = id;
    plane.latitude = at.latitude;
    plane.longitude = at.longitude;
    plane.altitude = at.altitude;
    traffic.put(plane);
  };
}

Step cmd_traffic(const ScriptLine &line, Args &a) {
  std::string what = a.word("add, move, remove, reduced, none, user or fly");
  if (what == "add" || what == "move") return aircraft_step(line, a, what == "add");
  if (what == "remove") {
    std::uint32_t id = aircraft_id(a);
    a.done();
    return [=](ScriptRun &run) {
      if (!run.host.traffic().remove(id)) run.error(line, "no aircraft " + std::to_string(id));
    };
  }
  if (what == "reduced") {
    bool on = on_off(a);
    a.done();
    return [on](ScriptRun &run) { run.host.traffic().set_reduced(on); };
  }
  if (what == "fly") return traffic_fly(a);
  if (what == "none") {
    a.done();
    return [](ScriptRun &run) { run.host.set_interface(kTrafficInterfaceName, nullptr); };
  }
  if (what == "user") {
    Placed at = position(a);
    std::optional<double> heading;
    if (a.keyword("heading")) heading = a.number("a heading in degrees");
    a.done();
    return [=](ScriptRun &run) {
      set_user_aircraft(run.host, at.latitude, at.longitude, at.altitude, heading);
    };
  }
  throw ScriptError("expected add, move, remove, reduced, none, user or fly, got " + what);
}

}  // namespace

void add_traffic_commands(ScriptTables &tables) {
  tables.commands["traffic"] = cmd_traffic;
}

}  // namespace z480
