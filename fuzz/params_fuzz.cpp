// Arbitrary text through every parameter-string routine.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/params.h"

extern GaugeHeader Radios_Toggle_Header;
extern GaugeHeader Close_Subpanel_Header;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string text(reinterpret_cast<const char *>(data), size);
  const char *s = text.c_str();
  param_find_key(s, "o");
  param_find_key(s, s);
  param_find_key(s, "");
  param_read_int(s);
  panel_ident_from_text(s);
  help_id_from_text(s);

  StaticImageElement background{};
  GaugeElement *elements[] = {&background.header, nullptr};
  MouseRect mouse[] = {{kMouseParent, {}, -1, 0, 0, 0, nullptr, nullptr}, {}};
  GaugeHeader gauge{};
  gauge.parameters = s;
  gauge.elements_list = elements;
  gauge.mouse_rect = mouse;
  param_apply_panel_actions(&gauge);
  param_apply_install_keys(&gauge);
  param_apply_auto_close(&gauge);
  // Every toggle path: through the services table as the host calls it.
  GaugeHeader *toggles[] = {&Radios_Toggle_Header, &Close_Subpanel_Header};
  for (GaugeHeader *kind : toggles) {
    GaugeHeader placed = *kind;
    placed.parameters = s;
    placed.elements_list = elements;
    placed.mouse_rect = mouse;
    placed.gauge_callback(&placed, kServiceInstall, 0);
    MouseCallbackRecord click{};
    click.gauge = &placed;
    kind->mouse_rect[1].mouse_function(&click, kMouseLeftSingle);
  }
  return 0;
}
