// The panel windows' background bitmaps, as an aircraft's panel folder
// carries them beside its panel.cfg: the window's paint, edges and screws,
// its sections framed and titled, and a placard by every switch, lamp and
// knob whose own bitmap does not say what it is. Placards and section frames
// are laid out from the gauges' places in the panel configuration, so a
// moved gauge keeps its label.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "host/panel_config.h"
#include "tools/artwork/generator.h"

namespace art {

struct Box {
  double x = 0, y = 0, w = 0, h = 0;

  double right() const { return x + w; }
  double bottom() const { return y + h; }
  bool overlaps(const Box &o) const;
  bool inside(double width, double height) const;
  Box grown(double by) const { return {x - by, y - by, w + 2 * by, h + 2 * by}; }
  Box joined(const Box &o) const;
};

// A piece of lettering laid out in a window: what it says and where.
struct Lettering {
  std::string text;
  Box box;
};

// Paints a window's bitmap on a canvas of the window's own size (one pixel per
// window unit), telling what it lettered where. Returns what is out of place:
// a placard or section frame leaving the window or lying under a gauge.
std::vector<std::string> paint_background(Canvas &canvas, const z480::PanelWindowConfig &window,
                                          const Context &context,
                                          std::vector<Lettering> *placed = nullptr);

// Writes every window's bitmap that the configuration names with `file=` into
// the folder; throws with the reason when it cannot, or, the bitmaps written,
// when any placard is out of place.
void write_backgrounds(const z480::PanelConfig &config, const Context &context,
                       const std::filesystem::path &folder);

}  // namespace art
