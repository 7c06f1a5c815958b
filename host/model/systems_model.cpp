#include "host/model/systems_model.h"

#include "frame/numeric.h"
#include "host/model/autopilot_modes.h"
#include "host/model/flight_director.h"
#include "host/model/yaw_damper.h"

namespace z480 {

const std::vector<ModelTable> &model_tables() {
  static const std::vector<ModelTable> tables = {
      {"airframe", airframe_rules()},
      {kAirframeTravelTable, airframe_travel_rules()},
      {"autopilot", autopilot_rules()},
      {"autopilot modes", autopilot_mode_rules()},
      {"flight director", flight_director_rules()},
      {"yaw damper", yaw_damper_rules()},
      {kServoTable, servo_rules()},
      {"electrical", electrical_rules()},
      {"engines", engine_rules()},
      {kEngineSpoolTable, engine_spool_rules()},
      {"radio altimeter", radio_altimeter_rules()},
      {"radios", radio_rules()},
  };
  return tables;
}

SystemsModel::SystemsModel() : SystemsModel(model_tables()) {}

SystemsModel::SystemsModel(std::span<const ModelTable> tables) {
  for (const ModelTable &t : tables) {
    table_names_.push_back(t.name);
    for (const ModelRule &r : t.rules)
      if (r.action) rules_[r.event].push_back({&r, table_names_.size() - 1});
  }
  table_off_.assign(table_names_.size(), false);
}

void SystemsModel::set_table_enabled(const std::string &name, bool on) {
  for (std::size_t i = 0; i < table_names_.size(); ++i)
    if (table_names_[i] == name) table_off_[i] = !on;
}

void SystemsModel::react(Host &host, const KeyEvent &event) const {
  if (!enabled_) return;
  auto it = rules_.find(event.id);
  if (it == rules_.end()) return;
  for (const auto &[r, table] : it->second)
    if (!table_off_[table]) r->action(host, *r, event.value);
}

std::int32_t wrap_degrees_int(std::int64_t degrees) {
  return static_cast<std::int32_t>((degrees % 360 + 360) % 360);
}

void action_set(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, rule.set_to);
}

void action_toggle(Host &host, const ModelRule &rule, std::uint32_t) {
  host.set_var(rule.token, host.var(rule.token) == 0.0 ? 1.0 : 0.0);
}

void action_set_degrees(Host &host, const ModelRule &rule, std::uint32_t value) {
  host.set_var(rule.token, wrap_degrees_int(static_cast<std::int32_t>(value)));
}

void action_step_degrees(Host &host, const ModelRule &rule, std::uint32_t) {
  std::int64_t now = to_int(host.var(rule.token));
  host.set_var(rule.token, wrap_degrees_int(now + rule.step));
}

}  // namespace z480
