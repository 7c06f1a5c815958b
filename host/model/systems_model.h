// The systems model: what the simulator itself does when a key event
// arrives (tunes a radio, moves a selected heading, switches a bus), so a
// panel can be flown under the substitute host. It is a set of tables of
// rules, one table per subsystem, each in its own file; a model takes them
// all.
// Scripts switch the model on with `model on`; while it is off key events
// are only recorded.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "host/core/host.h"

namespace z480 {

struct ModelRule;
// Applies one rule: reads and writes host variables through the host.
using ModelAction = void (*)(Host &host, const ModelRule &rule, std::uint32_t value);

// One reaction to a key event, written with named fields:
//   {.event = kEventFlapsDown, .action = flap_notch, .token = kVarFlapLever, .step = +1}
// Each field means one thing. An action that works on one of several like
// units (an engine, a radio band, a digit of a code) takes the unit as its
// template argument, so a rule cannot name a unit that is not there.
struct ModelRule {
  std::int32_t event = 0;
  ModelAction action = nullptr;
  std::int32_t token = 0;          // the host variable the action works on
  double set_to = 0;               // what action_set writes
  std::int32_t step = 0;           // a stepping action's signed step
  std::int32_t follows = 0;        // the host variable (a lever) a follower travels after
  std::int32_t travel_frames = 0;  // frames a follower takes for its full travel
};

struct ModelTable {
  std::string name;
  std::span<const ModelRule> rules;
};

// Every subsystem's table, in a fixed order: rules of several tables for
// one event run in this order.
const std::vector<ModelTable> &model_tables();
// The subsystems' rules, each from its own file.
std::span<const ModelRule> airframe_rules();
std::span<const ModelRule> autopilot_rules();
std::span<const ModelRule> electrical_rules();
std::span<const ModelRule> engine_rules();
// What a flight model answers when it flies (host/model/flight_dynamics.h):
// the gear legs' and flaps' travel, pitch and bank on the autopilot's servo
// commands, the engines' spooling.
inline constexpr const char *kAirframeTravelTable = "airframe travel";
inline constexpr const char *kServoTable = "servos";
inline constexpr const char *kEngineSpoolTable = "engine spool";
inline constexpr const char *kFlightModelTables[] = {kAirframeTravelTable, kServoTable,
                                                    kEngineSpoolTable};
std::span<const ModelRule> airframe_travel_rules();
std::span<const ModelRule> servo_rules();
std::span<const ModelRule> engine_spool_rules();
std::span<const ModelRule> radio_altimeter_rules();
std::span<const ModelRule> radio_rules();

class SystemsModel {
 public:
  // The model of every subsystem's table.
  SystemsModel();
  explicit SystemsModel(std::span<const ModelTable> tables);

  // Runs every rule for the event, tables in order, rules in table order.
  void react(Host &host, const KeyEvent &event) const;
  bool handles(std::int32_t event) const { return rules_.count(event) != 0; }

  bool enabled() const { return enabled_; }
  void set_enabled(bool on) { enabled_ = on; }
  // Leaves a table's rules out (or takes them in again).
  void set_table_enabled(const std::string &name, bool on);

 private:
  struct Entry {
    const ModelRule *rule;
    std::size_t table;
  };
  std::map<std::int32_t, std::vector<Entry>> rules_;
  std::vector<std::string> table_names_;
  std::vector<bool> table_off_;
  bool enabled_ = true;
};

// Actions shared by the tables.
// token := set_to
void action_set(Host &host, const ModelRule &rule, std::uint32_t value);
// token := 1 when it is 0, else 0
void action_toggle(Host &host, const ModelRule &rule, std::uint32_t value);
// token := the event's value, a signed angle, as whole degrees 0 to 359
void action_set_degrees(Host &host, const ModelRule &rule, std::uint32_t value);
// token := token + step whole degrees, kept within 0 to 359
void action_step_degrees(Host &host, const ModelRule &rule, std::uint32_t value);

// Whole degrees within 0 to 359.
std::int32_t wrap_degrees_int(std::int64_t degrees);

}  // namespace z480
