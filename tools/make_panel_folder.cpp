// make_panel_folder MODULE PANEL.CFG PANELDIR: makes PANELDIR the aircraft's
// panel folder, a copy of the configuration and the background bitmap each of
// its windows names (tools/artwork/backgrounds.h). Fails when the
// configuration has a damaged line or a placard would leave its window or lie
// under a gauge; the configuration is copied last, so that a failed run
// leaves no complete folder behind.
#include <fstream>
#include <iostream>
#include <iterator>

#include "host/panel/panel_config.h"
#include "tools/artwork/backgrounds.h"

namespace {

void panel_folder(const art::Context &context, const std::filesystem::path &config_file,
                  const std::filesystem::path &folder) {
  std::ifstream in(config_file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + config_file.string());
  std::vector<std::uint8_t> text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  z480::PanelConfig config = z480::parse_panel_config(
      std::string_view(reinterpret_cast<const char *>(text.data()), text.size()));
  for (const z480::PanelDiagnostic &d : config.diagnostics)
    throw std::runtime_error(config_file.string() + ":" + std::to_string(d.line) + ": " + d.message);
  std::filesystem::create_directories(folder);
  art::write_backgrounds(config, context, folder);
  art::write_file(folder / config_file.filename(), text);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::cerr << "usage: make_panel_folder MODULE PANEL.CFG PANELDIR\n";
    return 2;
  }
  std::string error;
  auto module = z480::Module::load(argv[1], &error);
  if (!module) {
    std::cerr << "make_panel_folder: " << error << "\n";
    return 1;
  }
  try {
    art::Context context(*module);
    panel_folder(context, argv[2], argv[3]);
  } catch (const std::exception &e) {
    std::cerr << "make_panel_folder: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
