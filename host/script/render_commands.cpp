// The script command `render FILE.png [window IDENT]`: draws what the host
// shows now (host/render/render.h) into a PNG. IDENT is a number or a window name
// (MAIN_PANEL, OVERHEAD_PANEL, ...). A relative FILE lies in the run's out
// directory; when the run writes a report, the picture goes to the phase
// that follows, captioned with the window's title.
#include <filesystem>
#include <memory>

#include "host/script/flight_report.h"
#include "host/panel/panel_config.h"
#include "host/render/render.h"
#include "host/script/script.h"

namespace z480 {
namespace {

constexpr const char *kRendererExtension = "renderer";

// One renderer a run, so the bitmaps it read and resampled serve every
// picture after the first.
Renderer &run_renderer(ScriptRun &run) {
  std::shared_ptr<void> &slot = run.extensions[kRendererExtension];
  if (!slot) slot = std::make_shared<Renderer>(run.host.module().handle());
  return *std::static_pointer_cast<Renderer>(slot);
}

std::string caption(const Host &host, std::optional<std::uint32_t> window) {
  if (!window) return "every gauge";
  for (const PanelWindowConfig &w : host.panel_windows())
    if (w.ident == *window && !w.title.empty()) return w.title;
  return "window " + std::to_string(*window);
}

Step cmd_render(const ScriptLine &line, Args &a) {
  std::filesystem::path file = a.peek().quoted ? a.text("a PNG file") : a.word("a PNG file");
  std::optional<std::uint32_t> window;
  if (a.keyword("window")) {
    std::string ident = a.word("a panel window ident");
    window = panel_ident(ident);
    if (!window) throw ScriptError("expected a panel window ident, got " + printable(ident));
  }
  a.done();
  return [=](ScriptRun &run) {
    std::string error;
    if (!render_png(run.host, run_renderer(run), report_file(run, file).string(), window, &error))
      return run.error(line, error);
    FlightReport *report = flight_report(run);
    if (report && file.is_relative())
      report->add_snapshot({file.generic_string(), caption(run.host, window)});
  };
}

}  // namespace

void add_render_commands(ScriptTables &tables) {
  tables.commands["render"] = cmd_render;
}

}  // namespace z480
