#include "host/core/panel_loader.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "host/panel/panel_background.h"

namespace z480 {
namespace {

bool same_module(const std::string &a, const std::string &b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

std::string folder_list(const std::vector<std::filesystem::path> &folders) {
  std::string list;
  for (const auto &f : folders) list += (list.empty() ? "" : ", ") + f.string();
  return list;
}

// The window's background bitmap, or why it has none.
void read_background(PanelWindowConfig &w, const std::vector<std::filesystem::path> &folders,
                     std::vector<PanelDiagnostic> &report) {
  if (w.file.empty() || folders.empty()) return;
  std::string fallback = "; the window shows its background colour";
  auto path = find_panel_file(folders, w.file);
  if (!path) {
    report.push_back({w.line, "no background " + w.file + " in " + folder_list(folders) + fallback});
    return;
  }
  std::string why;
  if (auto pixels = read_bmp_file(*path, &why))
    w.background = std::make_shared<const Pixels>(std::move(*pixels));
  else
    report.push_back({w.line, "the background " + path->string() + " cannot be used: " + why + fallback});
}

}  // namespace

std::vector<PanelDiagnostic> load_panel(Host &host, const PanelConfig &config,
                                        const std::vector<std::filesystem::path> &folders) {
  std::vector<PanelDiagnostic> report = config.diagnostics;
  std::vector<PanelWindowConfig> windows = config.windows;
  for (PanelWindowConfig &w : windows) read_background(w, folders, report);
  host.set_panel_windows(std::move(windows));
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
