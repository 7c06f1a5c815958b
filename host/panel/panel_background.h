// The background bitmaps of panel windows: a window's `file=` names a .bmp in
// the aircraft's panel folder, which the renderer and the browser panel lay
// under the window's gauges, stretched to the window's size. The panel folder
// of a configuration read from a file is that file's folder; after it comes
// the panel folder the build lays beside this program (panel/, the drop-in
// folder the bitmap generator writes), which serves the embedded panel and
// the repository's own panel/panel.cfg alike. Names match without regard to
// case, as on the simulator's own file system.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "host/util/dib.h"

namespace z480 {

// Where a panel configuration's bitmaps are looked for: the configuration's
// own folder (none for the embedded panel), then the build's panel folder.
std::vector<std::filesystem::path> panel_folders(const std::optional<std::filesystem::path> &panel_file);

// The first file of that name in the folders; nothing when none has it or
// the name reaches out of its folder.
std::optional<std::filesystem::path> find_panel_file(const std::vector<std::filesystem::path> &folders,
                                                     const std::string &name);

// A .bmp file's pixels; nothing with a reason when it cannot be read or is
// not an uncompressed 24- or 32-bit bitmap.
std::optional<Pixels> read_bmp_file(const std::filesystem::path &path, std::string *why);

}  // namespace z480
