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

// One reaction to a key event. token, arg and step are the action's own: the
// host variable it works on, a digit place or a value, and a signed step.
struct ModelRule {
  std::int32_t event;
  ModelAction action;
  std::int32_t token;
  std::int32_t arg = 0;
  std::int32_t step = 0;
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

 private:
  std::map<std::int32_t, std::vector<const ModelRule *>> rules_;
  bool enabled_ = true;
};

// Actions shared by the tables.
// token := arg
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
