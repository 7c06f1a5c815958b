// Arbitrary panel configurations: read, then placed in a host with the real
// module, flown a few frames while every window opens and closes. The reader
// must report what it cannot read, and the host must place, connect and
// disconnect whatever it could: no crash, no sanitizer report.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_module.h"
#include "host/core/panel_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char *>(data), size);
  z480::PanelConfig config = z480::parse_panel_config(text);
  for (const z480::PanelDiagnostic &d : config.diagnostics)
    if (d.line < 1 || d.message.empty()) __builtin_trap();
  z480::Host host(fuzz_module());
  z480::load_panel(host, config);
  host.frame();
  for (const z480::PanelWindowConfig &w : host.panel_windows()) {
    host.toggle_window(w.ident);
    host.frame();
  }
  for (const auto &inst : host.instances())
    if (inst->connected() != (!inst->placement() || host.window_shown(inst->placement()->window)))
      __builtin_trap();
  return 0;
}
