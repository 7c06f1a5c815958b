// Script commands of the radio navigation:
//   nav at LAT LON FEET [heading DEG]
//                the aircraft stands there (degrees; feet above sea level,
//                its heading token 84): the receivers work from there at
//                once and every frame, and the traffic's user aircraft is
//                there, until `nav off` (a flight model that flies takes
//                over while it flies)
//   nav off      the receivers stop; their host variables stay as they are
#include "host/script/navigation_commands.h"

#include <cmath>
#include <memory>
#include <optional>

#include "frame/host_names.h"
#include "host/core/traffic.h"
#include "host/model/radio_navigation.h"

namespace z480 {
namespace {

constexpr const char *kNavigationExtension = "navigation";

struct NavigationSlot {
  std::optional<AircraftPosition> parked;  // where `nav at` put the aircraft
  bool flown = false;                      // the flight model gave a position since the last frame
};

void work_from(Host &host, const AircraftPosition &p) {
  update_radio_navigation(host, p);
  set_user_aircraft(host, p.at.latitude, p.at.longitude, p.altitude_ft, p.heading_deg);
}

NavigationSlot &slot_of(ScriptRun &run) {
  std::shared_ptr<void> &slot = run.extensions[kNavigationExtension];
  if (!slot) {
    auto nav = std::make_shared<NavigationSlot>();
    NavigationSlot *n = nav.get();
    Host &host = run.host;
    host.on_frame([n, &host] {
      if (n->flown) {
        n->flown = false;
      } else if (n->parked) {
        n->parked->heading_deg = host.var(kVarHeading);
        work_from(host, *n->parked);
      }
    });
    slot = nav;
  }
  return *std::static_pointer_cast<NavigationSlot>(slot);
}

Step cmd_nav(const ScriptLine &, Args &a) {
  std::string word = a.word("at or off");
  if (word == "off") {
    a.done();
    return [](ScriptRun &run) { slot_of(run).parked.reset(); };
  }
  if (word != "at") throw ScriptError("expected at or off, got " + word);
  AircraftPosition p;
  p.at.latitude = a.number("a latitude in degrees");
  p.at.longitude = a.number("a longitude in degrees");
  p.altitude_ft = a.number("an altitude in feet");
  if (!(std::fabs(p.at.latitude) <= 90) || !(std::fabs(p.at.longitude) <= 180))
    throw ScriptError("a position lies within 90 degrees of latitude and 180 of longitude");
  if (!(std::fabs(p.altitude_ft) <= 100000)) throw ScriptError("an altitude lies within 100000 ft");
  std::optional<double> heading;
  if (a.keyword("heading")) {
    heading = a.number("a heading in degrees");
    if (!std::isfinite(*heading)) throw ScriptError("a heading is a number of degrees");
  }
  a.done();
  return [p, heading](ScriptRun &run) mutable {
    if (heading) run.host.set_var(kVarHeading, wrap360(*heading));
    p.heading_deg = run.host.var(kVarHeading);
    NavigationSlot &n = slot_of(run);
    n.parked = p;
    work_from(run.host, p);
  };
}

}  // namespace

void navigation_frame(ScriptRun &run, const AircraftPosition &aircraft) {
  NavigationSlot &n = slot_of(run);
  n.flown = true;
  work_from(run.host, aircraft);
}

void add_navigation_commands(ScriptTables &tables) { tables.commands["nav"] = cmd_nav; }

}  // namespace z480
