// Calls into the host's panel services. Every call goes through the pointer
// the host wrote into ImportTable, read at the moment of the call; before the
// host has filled it the calls do nothing and read 0.
#pragma once

#include <cstdint>

#include "frame/panel.h"

extern "C" GaugeImport ImportTable;

// Fills var->var_value with the host variable named by var->id.
void lookup_var(ModuleVar *var);
// Reads one host variable by token through a fresh record.
double read_var(std::int32_t token);
// A host flag read as an integer (a failure flag): nonzero is set.
bool host_flag_set(std::int32_t token);
void trigger_key_event(std::int32_t event_id, std::uint32_t value = 0);
void toggle_panel_window(std::uint32_t ident);
double aircraft_varget(std::int32_t var, std::int32_t units, std::int32_t index);
void *query_host_interface(const char *name);
// The element-list services on the tree from root.
void element_list_query(GaugeElement *root);
void element_list_install(GaugeElement *root, void *resources);
void element_list_initialize(GaugeElement *root);
void element_list_update(GaugeElement *root);
void element_list_generate(GaugeElement *root, std::uint32_t phase);
void element_list_plot(GaugeElement *root);
void element_list_kill(GaugeElement *root);
