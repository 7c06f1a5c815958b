// The panel windows' background bitmaps, as an aircraft's panel folder
// carries them beside its panel.cfg: the window's paint, edges and screws,
// its sections framed and titled, and a placard by every switch, lamp and
// knob whose own bitmap does not say what it is. Placards and section frames
// are laid out from the gauges' places in the panel configuration, so a
// moved gauge keeps its label.
#pragma once

#include <filesystem>

#include "host/panel/panel_config.h"
#include "tools/artwork/generator.h"

namespace art {

// Writes every window's bitmap that the configuration names with `file=` into
// the folder; throws with the reason when it cannot, or, the bitmaps written,
// when any placard is out of place.
void write_backgrounds(const z480::PanelConfig &config, const Context &context,
                       const std::filesystem::path &folder);

}  // namespace art
