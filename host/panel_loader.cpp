#include "host/panel_loader.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace z480 {
namespace {

bool same_module(const std::string &a, const std::string &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::vector<PanelDiagnostic> load_panel(Host &host, const PanelConfig &config) {
  std::vector<PanelDiagnostic> report = config.diagnostics;
  host.set_panel_windows(config.windows);
  std::map<std::string, int> count;
  for (const PanelWindowConfig &w : config.windows) {
    for (const GaugePlacementConfig &g : w.gauges) {
      if (!same_module(g.module, host.module().name())) {
        report.push_back({g.line, "no module " + g.module + " is loaded; " + g.gauge +
                                      " is skipped"});
        continue;
      }
      GaugeHeader *header = host.module().find_gauge(g.gauge);
      if (!header) {
        report.push_back({g.line, "the module has no gauge " + g.gauge + "; it is skipped"});
        continue;
      }
      int n = ++count[g.gauge];
      std::string alias = n == 1 ? g.gauge : g.gauge + ":" + std::to_string(n);
      int own_width = static_cast<int>(std::min<std::uint32_t>(header->size_x_mm, 100000));
      Placement where{w.ident, g.x, g.y, g.width.value_or(own_width), g.height};
      std::string error;
      if (!host.place(g.gauge, alias, g.parameters, &error, where))
        report.push_back({g.line, error});
    }
  }
  std::stable_sort(report.begin(), report.end(),
                   [](const PanelDiagnostic &a, const PanelDiagnostic &b) { return a.line < b.line; });
  return report;
}

}  // namespace z480
