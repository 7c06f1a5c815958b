// Places a panel configuration in the host as the simulator loads an
// aircraft's panel: the windows first, then every gauge of every window in
// order. An instance is named after its gauge; a gauge placed more than once
// names its later instances GAUGE:2, GAUGE:3, ...
#pragma once

#include <filesystem>
#include <vector>

#include "host/core/host.h"
#include "host/panel/panel_config.h"

namespace z480 {

// Replaces the panel placed before (its instances disconnect and are
// destroyed). Returns the reader's reports and the gauges that could not be
// placed (another module's, one this module lacks), in line order. Given the
// panel folders (host/panel/panel_background.h), each window's background bitmap is
// read from them; one that is missing or unreadable is reported and the
// window keeps its background colour.
std::vector<PanelDiagnostic> load_panel(Host &host, const PanelConfig &config,
                                        const std::vector<std::filesystem::path> &folders = {});

}  // namespace z480
