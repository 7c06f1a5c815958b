// The script commands of the flight model (host/model/flight_dynamics.h):
//   flight on|off      the host flies the aircraft with JSBSim, one model
//                      frame with every host frame, from the start set last
//                      (on the runway, engines off, unless told otherwise)
//   flight init runway [heading DEG] [running]
//   flight init air FEET KNOTS [heading DEG] [east NM] [north NM] [final NM] [gear down]
//                   [wind FROM-DEG KNOTS]
//                      starts the flight anew there (and switches it on): on
//                      the threshold of Heathrow's runway 27L, the engines
//                      running if asked; or in the air at that height above
//                      the field and speed, engines running, trimmed level
//                      with the gear up (or down) and the flaps where their
//                      lever stands, that far east and north of the
//                      threshold, or on the runway's extended centreline that
//                      far out, heading down it
//                      The radio navigation works from where the aircraft
//                      flies (host/script/navigation_commands.h).
//   flight stick ELEVATOR AILERON [RUDDER]
//                      the pilot's hands, -1 to 1: push, roll right, yaw right
//   expect flight WHAT = VALUE [~ TOL]
//                      what the aircraft does beyond the panel's tokens:
//                      stall-warning (1 sounding, 0 quiet), alpha (degrees),
//                      thrust (pounds, both propellers), ground-speed (knots);
//                      fails while no flight model flies
#include "host/script/flight_commands.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <sstream>

#include "host/model/systems_model.h"
#include "host/script/navigation_commands.h"

namespace z480 {
namespace {

constexpr const char *kFlightExtension = "flight";
constexpr const char *kModelExtension = "model";  // the systems model's (model_commands.cpp)

struct FlightSlot {
  FlightStart start;
  std::unique_ptr<FlightDynamics> model;
  PilotControls hands;
  ScriptLine started_at;  // the command that started the model, for its errors
};

// While the flight model flies, the systems model leaves to it what it
// answers itself (the legs' and flaps' travel, the servos, the spooling).
void hand_over(ScriptRun &run, bool flying) {
  auto it = run.extensions.find(kModelExtension);
  if (it == run.extensions.end() || !it->second) return;
  auto &model = *std::static_pointer_cast<SystemsModel>(it->second);
  for (const char *table : kFlightModelTables) model.set_table_enabled(table, !flying);
}

FlightSlot &slot_of(ScriptRun &run) {
  std::shared_ptr<void> &slot = run.extensions[kFlightExtension];
  if (!slot) {
    auto flight = std::make_shared<FlightSlot>();
    Host &host = run.host;
    FlightSlot *f = flight.get();
    host.on_key_event([f](const KeyEvent &e) {
      if (f->model) f->model->on_key_event(e);
    });
    // A model that fails in a frame (its child died) is dropped, the
    // failure counted against the command that started it.
    host.on_frame([f, &run] {
      hand_over(run, f->model != nullptr);
      if (!f->model) return;
      try {
        f->model->step();
        navigation_frame(run, f->model->position());
      } catch (const JsbsimError &e) {
        f->model.reset();
        run.error(f->started_at, std::string("the flight model stopped: ") + e.what());
      }
    });
    slot = flight;
  }
  return *std::static_pointer_cast<FlightSlot>(slot);
}

void start_flight(ScriptRun &run, const ScriptLine &line, FlightSlot &f) {
  f.model.reset();  // one child at a time
  f.started_at = line;
  try {
    f.model = std::make_unique<FlightDynamics>(run.host, f.start);
    f.model->pilot() = f.hands;
    hand_over(run, true);
    navigation_frame(run, f.model->position());
  } catch (const JsbsimError &e) {
    run.error(line, e.what());
  }
}

Step cmd_flight(const ScriptLine &line, Args &a) {
  std::string word = a.word("on, off, init or stick");
  if (word == "on" || word == "off") {
    a.done();
    bool on = word == "on";
    return [on, line](ScriptRun &run) {
      FlightSlot &f = slot_of(run);
      if (!on) f.model.reset();
      else if (!f.model) start_flight(run, line, f);
    };
  }
  if (word == "stick") {
    PilotControls hands;
    hands.elevator = a.number("elevator");
    hands.aileron = a.number("aileron");
    if (a.more()) hands.rudder = a.number("rudder");
    a.done();
    for (double v : {hands.elevator, hands.aileron, hands.rudder})
      if (!(v >= -1 && v <= 1)) throw ScriptError("stick inputs lie within -1 to 1");
    return [hands](ScriptRun &run) { set_pilot_controls(run, hands); };
  }
  if (word != "init") throw ScriptError("expected on, off, init or stick, got " + word);
  FlightStart start;
  bool heading_given = false;
  std::string where = a.word("runway or air");
  if (where == "air") {
    start.airborne = true;
    start.altitude_ft = a.number("height in feet");
    start.speed_kts = a.number("speed in knots");
    if (!(start.altitude_ft >= 100 && start.altitude_ft <= 30000))
      throw ScriptError("a start in the air lies 100 to 30000 ft above the field");
    if (!(start.speed_kts >= 100 && start.speed_kts <= 250))
      throw ScriptError("a start in the air flies 100 to 250 kt");
  } else if (where != "runway") {
    throw ScriptError("expected runway or air, got " + where);
  }
  while (a.more()) {
    if (a.keyword("heading")) {
      heading_given = true;
      start.heading_deg = a.number("heading");
      if (!std::isfinite(start.heading_deg)) throw ScriptError("a heading is a number of degrees");
    } else if (a.keyword("running")) {
      start.engines_running = true;
    } else if (where == "air" && a.keyword("east")) {
      start.east_nm = a.number("miles east");
    } else if (where == "air" && a.keyword("north")) {
      start.north_nm = a.number("miles north");
    } else if (where == "air" && a.keyword("final")) {
      double out = a.number("miles out on the final approach");
      if (!(out >= 0 && out <= 30)) throw ScriptError("a final approach starts 0 to 30 NM out");
      double outward = (FlightDynamics::kRunwayCourse + 180) * std::numbers::pi / 180;
      start.east_nm = out * std::sin(outward);
      start.north_nm = out * std::cos(outward);
      if (!heading_given) start.heading_deg = FlightDynamics::kRunwayCourse;
    } else if (where == "air" && a.keyword("wind")) {
      start.wind_from_deg = a.number("wind direction");
      start.wind_kts = a.number("wind speed");
      if (!std::isfinite(start.wind_from_deg) || !(start.wind_kts >= 0 && start.wind_kts <= 60))
        throw ScriptError("a wind blows from a direction at 0 to 60 kt");
    } else if (where == "air" && a.keyword("gear")) {
      a.expect_keyword("down");
      start.gear_down = true;
    } else {
      throw ScriptError("unexpected " + a.word("option"));
    }
  }
  for (double v : {start.east_nm, start.north_nm})
    if (!(std::fabs(v) <= 100)) throw ScriptError("a start lies within 100 NM of the field");
  return [start, line](ScriptRun &run) {
    FlightSlot &f = slot_of(run);
    f.start = start;
    start_flight(run, line, f);
  };
}

// What `expect flight` reads of the model.
struct FlightQuantity {
  const char *name;
  double (*read)(const FlightDynamics &);
};
const FlightQuantity kQuantities[] = {
    {"stall-warning", [](const FlightDynamics &f) { return f.stall_warning() ? 1.0 : 0.0; }},
    {"alpha", [](const FlightDynamics &f) { return f.value("aero/alpha-deg"); }},
    {"thrust", [](const FlightDynamics &f) { return f.thrust_lbs(); }},
    {"ground-speed", [](const FlightDynamics &f) { return f.ground_speed_kts(); }},
};

Step expect_flight(const ScriptLine &line, Args &a) {
  std::string what = a.word("stall-warning, alpha, thrust or ground-speed");
  const FlightQuantity *q = nullptr;
  for (const auto &k : kQuantities)
    if (what == k.name) q = &k;
  if (!q) throw ScriptError("expected stall-warning, alpha, thrust or ground-speed, got " + what);
  a.expect_keyword("=");
  double expected = a.number("a value");
  double tol = tolerance(a, expected);
  a.done();
  return [=](ScriptRun &run) {
    const FlightDynamics *f = slot_of(run).model.get();
    if (!f) return run.fail(line, std::string(q->name) + ": no flight model flies");
    double got = q->read(*f);
    if (close_to(got, expected, tol)) return run.pass();
    std::ostringstream m;
    m.precision(10);
    m << q->name << " is " << got << ", expected " << expected;
    run.fail(line, m.str());
  };
}

}  // namespace

PilotControls pilot_controls(ScriptRun &run) { return slot_of(run).hands; }

void set_pilot_controls(ScriptRun &run, const PilotControls &hands) {
  FlightSlot &f = slot_of(run);
  f.hands = hands;
  if (f.model) f.model->pilot() = hands;
}

const FlightDynamics *flight_dynamics(ScriptRun &run) { return slot_of(run).model.get(); }

void add_flight_commands(ScriptTables &tables) {
  tables.commands["flight"] = cmd_flight;
  tables.expects["flight"] = expect_flight;
}
}  // namespace z480
