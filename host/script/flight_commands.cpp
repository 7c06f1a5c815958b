// The script commands of the flight model (host/model/flight_dynamics.h):
//   flight on|off      the host flies the aircraft with JSBSim, one model
//                      frame with every host frame, from the start set last
//                      (on the runway, engines off, unless told otherwise)
//   flight init runway [heading DEG] [east NM] [north NM] [running]
//   flight init air FEET KNOTS [heading DEG] [east NM] [north NM] [final NM] [gear down]
//                      starts the flight anew there (and switches it on): on
//                      the threshold of Heathrow's runway 27L (or on the
//                      ground that far east and north of it), the engines
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
//   flight hold [pitch DEG] [bank DEG] [heading DEG]
//                      a pilot's steady hands: the stick holds the nose at
//                      that pitch (degrees up; without one the elevator
//                      stays centred) and the wings at that bank (degrees
//                      right, level without one); the rudder steers the nose
//                      wheel onto the heading on the ground (the heading at
//                      the command without one) and keeps the ball centred
//                      in the air. Until `flight hold off` or `flight stick`
//   expect flight WHAT = VALUE [~ TOL]
//                      what the aircraft does beyond the panel's tokens:
//                      stall-warning (1 sounding, 0 quiet), alpha and pitch
//                      (degrees, nose up), thrust (pounds, both propellers),
//                      ground-speed (knots), radio-height (feet),
//                      vertical-speed (ft/min), on-ground (1 on its wheels);
//                      fails while no flight model flies
//   wait until WHAT <|> VALUE [within SECONDS]
//                      runs frames until the condition holds (WHAT one of
//                      the flight's quantities above or a host variable),
//                      failing when it has not after SECONDS (600 unless
//                      given) of simulated time
#include "host/script/flight_commands.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "host/model/systems_model.h"
#include "host/script/navigation_commands.h"

namespace z480 {
namespace {

constexpr const char *kFlightExtension = "flight";
constexpr double kDefaultUntilSeconds = 600, kMostUntilSeconds = 7200;
constexpr const char *kModelExtension = "model";  // the systems model's (model_commands.cpp)

// What `flight hold` asks of the pilot's hands.
struct Hold {
  std::optional<double> pitch_deg;
  double bank_deg = 0;
  std::optional<double> heading_deg;  // filled in at the first frame without one
  double elevator_sum = 0;            // the elevator the nose has come to need
};

struct FlightSlot {
  FlightStart start;
  std::unique_ptr<FlightDynamics> model;
  PilotControls hands;
  std::optional<Hold> hold;
  ScriptLine started_at;  // the command that started the model, for its errors
};

// One frame of the holding pilot: the gains a pilot's slow, firm hand gives
// this aircraft (the elevator's trim integral keeps the pitch from sagging
// as the speed changes; the rates damp what the error alone would swing).
PilotControls held_controls(Hold &h, const FlightDynamics &f) {
  constexpr double kFrame = 1.0 / Host::kFramesPerSecond;
  constexpr double kMostTrim = 0.6;  // of the elevator's travel, so a hold on the ground winds up no further
  PilotControls c;
  if (h.pitch_deg) {
    double error = (f.value("attitude/theta-deg") - *h.pitch_deg) / 10;
    h.elevator_sum = std::clamp(h.elevator_sum + error * 0.8 * kFrame, -kMostTrim, kMostTrim);
    c.elevator = std::clamp(1.5 * error + h.elevator_sum + 1.5 * f.value("velocities/q-rad_sec"), -1.0, 1.0);
  }
  double bank_error = (h.bank_deg - f.value("attitude/phi-deg")) / 20;
  c.aileron = std::clamp(bank_error - 2 * f.value("velocities/p-rad_sec"), -1.0, 1.0);
  double psi = f.value("attitude/psi-deg");
  if (!h.heading_deg) h.heading_deg = psi;
  if (f.value("gear/wow") != 0) {
    double error = wrap180(*h.heading_deg - psi);
    c.rudder = std::clamp(error / 5 - 2 * f.value("velocities/r-rad_sec"), -1.0, 1.0);
  } else {
    c.rudder = std::clamp(f.value("aero/beta-deg") / 5, -1.0, 1.0);
  }
  return c;
}

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
        if (f->hold) f->model->pilot() = held_controls(*f->hold, *f->model);
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

// An angle of a hold, within +-most degrees.
double degrees(Args &a, const char *what, double most) {
  double v = a.number(what);
  if (!(std::fabs(v) <= most)) throw ScriptError(std::string(what) + " lies within -+" + std::to_string(int(most)));
  return v;
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
  if (word == "hold") {
    if (a.keyword("off")) {
      a.done();
      return [](ScriptRun &run) { set_pilot_controls(run, {}); };
    }
    Hold hold;
    while (a.more()) {
      if (a.keyword("pitch")) hold.pitch_deg = degrees(a, "pitch in degrees", 30);
      else if (a.keyword("bank")) hold.bank_deg = degrees(a, "bank in degrees", 45);
      else if (a.keyword("heading")) hold.heading_deg = wrap360(degrees(a, "heading in degrees", 360));
      else throw ScriptError("expected pitch, bank, heading or off, got " + a.word("option"));
    }
    return [hold](ScriptRun &run) { slot_of(run).hold = hold; };
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
    } else if (a.keyword("east")) {
      start.east_nm = a.number("miles east");
    } else if (a.keyword("north")) {
      start.north_nm = a.number("miles north");
    } else if (where == "air" && a.keyword("final")) {
      double out = a.number("miles out on the final approach");
      if (!(out >= 0 && out <= 30)) throw ScriptError("a final approach starts 0 to 30 NM out");
      double outward = (FlightDynamics::kRunwayCourse + 180) * std::numbers::pi / 180;
      start.east_nm = out * std::sin(outward);
      start.north_nm = out * std::cos(outward);
      if (!heading_given) start.heading_deg = FlightDynamics::kRunwayCourse;
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
    {"pitch", [](const FlightDynamics &f) { return f.value("attitude/theta-deg"); }},
    {"radio-height", [](const FlightDynamics &f) { return f.radio_height_ft(); }},
    {"vertical-speed", [](const FlightDynamics &f) { return f.value("velocities/h-dot-fps") * 60; }},
    {"on-ground", [](const FlightDynamics &f) { return f.value("gear/wow") != 0 ? 1.0 : 0.0; }},
};
const FlightQuantity *quantity(const std::string &name) {
  for (const auto &k : kQuantities)
    if (name == k.name) return &k;
  return nullptr;
}
constexpr const char *kQuantityNames =
    "stall-warning, alpha, thrust, ground-speed, pitch, radio-height, vertical-speed or on-ground";

Step expect_flight(const ScriptLine &line, Args &a) {
  std::string what = a.word(kQuantityNames);
  const FlightQuantity *q = quantity(what);
  if (!q) throw ScriptError(std::string("expected ") + kQuantityNames + ", got " + what);
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

// `wait until`: a flight quantity or a host variable, above or below a value.
Step cmd_wait_until(const ScriptLine &line, Args &a) {
  const FlightQuantity *q = a.more() ? quantity(a.peek().text) : nullptr;
  std::int32_t token = 0;
  if (q) a.word("quantity");
  else token = a.token();
  std::string op = a.word("< or >");
  if (op != "<" && op != ">") throw ScriptError("expected < or >, got " + op);
  double value = a.number("a value");
  double within = kDefaultUntilSeconds;
  if (a.keyword("within")) within = a.number("seconds");
  a.done();
  if (!std::isfinite(value)) throw ScriptError("wait until a finite value");
  if (!(within > 0 && within <= kMostUntilSeconds))
    throw ScriptError("wait until within 0 to " + std::to_string(int(kMostUntilSeconds)) + " seconds");
  auto most = static_cast<std::int64_t>(std::ceil(within * Host::kFramesPerSecond));
  bool below = op == "<";
  return [=](ScriptRun &run) {
    auto now = [&]() -> std::optional<double> {
      if (!q) return run.host.var(token);
      const FlightDynamics *f = slot_of(run).model.get();
      if (!f) return std::nullopt;
      return q->read(*f);
    };
    for (std::int64_t i = 0; i <= most; ++i) {
      std::optional<double> v = now();
      if (!v) return run.fail(line, "wait until: no flight model flies");
      if (below ? *v < value : *v > value) return run.pass();
      if (i < most) run.host.frame();
    }
    std::ostringstream m;
    m.precision(10);
    m << "still " << *now() << " after " << within << " s, waiting for " << op << " " << value;
    run.fail(line, m.str());
  };
}

}  // namespace

PilotControls pilot_controls(ScriptRun &run) { return slot_of(run).hands; }

void set_pilot_controls(ScriptRun &run, const PilotControls &hands) {
  FlightSlot &f = slot_of(run);
  f.hands = hands;
  f.hold.reset();
  if (f.model) f.model->pilot() = hands;
}

const FlightDynamics *flight_dynamics(ScriptRun &run) { return slot_of(run).model.get(); }

void add_flight_commands(ScriptTables &tables) {
  tables.commands["flight"] = cmd_flight;
  tables.expects["flight"] = expect_flight;
  // `wait until` waits here; any other wait is the clock's.
  CommandParser clock_wait = tables.commands["wait"];
  if (!clock_wait) throw std::logic_error("the clock's commands come before the flight's");
  tables.commands["wait"] = [clock_wait](const ScriptLine &line, Args &a) {
    return a.keyword("until") ? cmd_wait_until(line, a) : clock_wait(line, a);
  };
}
}  // namespace z480
