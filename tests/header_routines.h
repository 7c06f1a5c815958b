// Calls every routine of every gauge header of a loaded module against a
// services table that records which element-list service each call reached
// and with which element: each routine must be there and reach its own
// gauge's root element, through the service of its own slot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/panel.h"

namespace header_routines {

struct Reached {
  int slot = -1;  // the services-table slot the call arrived at
  GaugeElement *root = nullptr;
  void *resources = nullptr;
  std::uint32_t phase = 0;
};
inline Reached reached;

inline void FSAPI query(GaugeElement *e) { reached = {18, e}; }
inline void FSAPI install(GaugeElement *e, void *r) { reached = {19, e, r}; }
inline void FSAPI initialize(GaugeElement *e) { reached = {20, e}; }
inline void FSAPI update(GaugeElement *e) { reached = {21, e}; }
inline void FSAPI generate(GaugeElement *e, std::uint32_t p) { reached = {22, e, nullptr, p}; }
inline void FSAPI plot(GaugeElement *e) { reached = {23, e}; }
inline void FSAPI kill(GaugeElement *e) { reached = {25, e}; }

inline constexpr std::uintptr_t kResources = 0x5A480;
inline constexpr std::uint32_t kPhase = 3;

// One line for each routine that is missing or reaches anything else.
inline std::vector<std::string> check(const GaugeLinkage &linkage, GaugeImport &imports) {
  PanelServices services{};
  services.element_list_query = query;
  services.element_list_install = install;
  services.element_list_initialize = initialize;
  services.element_list_update = update;
  services.element_list_generate = generate;
  services.element_list_plot = plot;
  services.element_list_kill = kill;
  PanelServices *before = imports.panels.fn_ptr;
  imports.panels.fn_ptr = &services;

  std::vector<std::string> faults;
  int gauges = 0;
  for (GaugeHeader *const *h = linkage.gauge_header_ptr; *h; ++h, ++gauges) {
    GaugeHeader *g = *h;
    GaugeElement *root = g->elements_list ? g->elements_list[0] : nullptr;
    auto *resources = reinterpret_cast<void *>(kResources);
    struct Routine {
      const char *name;
      int slot;
      bool present;
      void (*call)(GaugeHeader *, void *);
    };
    const Routine routines[] = {
        {"query", 18, g->query_routine != nullptr,
         [](GaugeHeader *x, void *) { x->query_routine(); }},
        {"install", 19, g->install_routine != nullptr,
         [](GaugeHeader *x, void *r) { x->install_routine(r); }},
        {"initialize", 20, g->initialize_routine != nullptr,
         [](GaugeHeader *x, void *) { x->initialize_routine(); }},
        {"update", 21, g->update_routine != nullptr,
         [](GaugeHeader *x, void *) { x->update_routine(); }},
        {"generate", 22, g->generate_routine != nullptr,
         [](GaugeHeader *x, void *) { x->generate_routine(kPhase); }},
        {"draw", 23, g->draw_routine != nullptr, [](GaugeHeader *x, void *) { x->draw_routine(); }},
        {"kill", 25, g->kill_routine != nullptr, [](GaugeHeader *x, void *) { x->kill_routine(); }},
    };
    std::string gauge = g->gauge_name ? g->gauge_name : "?";
    if (!root || root->gauge_header != g) faults.push_back(gauge + ": no root element of its own");
    for (const Routine &r : routines) {
      if (!r.present) {
        faults.push_back(gauge + ": no " + r.name + " routine");
        continue;
      }
      reached = {};
      r.call(g, resources);
      bool passed = (r.slot != 19 || reached.resources == resources) &&
                    (r.slot != 22 || reached.phase == kPhase);
      if (reached.slot != r.slot || reached.root != root || !passed)
        faults.push_back(gauge + ": the " + r.name + " routine reached slot " +
                         std::to_string(reached.slot) +
                         (reached.root == root ? "" : ", not its own root"));
    }
  }
  if (gauges == 0) faults.push_back("the module lists no gauge");
  imports.panels.fn_ptr = before;
  return faults;
}

}  // namespace header_routines
