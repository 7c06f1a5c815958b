#include "frame/services.h"

#include "frame/numeric.h"

namespace {
PanelServices *panels() { return ImportTable.panels.fn_ptr; }
}  // namespace

void lookup_var(ModuleVar *var) {
  if (PanelServices *p = panels(); p && p->lookup_var && var) p->lookup_var(var);
}

double read_var(std::int32_t token) {
  ModuleVar var{};
  var.id = token;
  lookup_var(&var);
  return var.var_value.n;
}

bool host_flag_set(std::int32_t token) { return to_int(read_var(token)) != 0; }

void trigger_key_event(std::int32_t event_id, std::uint32_t value) {
  if (PanelServices *p = panels(); p && p->trigger_key_event) p->trigger_key_event(event_id, value);
}

void toggle_panel_window(std::uint32_t ident) {
  if (PanelServices *p = panels(); p && p->toggle_panel_window) p->toggle_panel_window(ident);
}

double aircraft_varget(std::int32_t var, std::int32_t units, std::int32_t index) {
  PanelServices *p = panels();
  return p && p->aircraft_varget ? p->aircraft_varget(var, units, index) : 0.0;
}

void *query_host_interface(const char *name) {
  PanelServices *p = panels();
  return p && p->query_host_interface ? p->query_host_interface(name) : nullptr;
}

namespace {
// Calls the service in that slot of the host's table, when it offers one.
template <auto Slot, typename... Args>
void element_list(GaugeElement *root, Args... args) {
  if (PanelServices *p = panels(); p && p->*Slot) (p->*Slot)(root, args...);
}
}  // namespace

void element_list_query(GaugeElement *root) {
  element_list<&PanelServices::element_list_query>(root);
}
void element_list_install(GaugeElement *root, void *resources) {
  element_list<&PanelServices::element_list_install>(root, resources);
}
void element_list_initialize(GaugeElement *root) {
  element_list<&PanelServices::element_list_initialize>(root);
}
void element_list_update(GaugeElement *root) {
  element_list<&PanelServices::element_list_update>(root);
}
void element_list_generate(GaugeElement *root, std::uint32_t phase) {
  element_list<&PanelServices::element_list_generate>(root, phase);
}
void element_list_plot(GaugeElement *root) {
  element_list<&PanelServices::element_list_plot>(root);
}
void element_list_kill(GaugeElement *root) {
  element_list<&PanelServices::element_list_kill>(root);
}
