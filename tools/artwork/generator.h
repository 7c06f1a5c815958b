// The bitmap generator: every bitmap of the module drawn with cairo from a
// table of designs, its geometry taken from the module's own element trees so
// that scale marks lie where the host turns the needles.
//
// Drawing conventions (the host's renderer follows the same rules):
// - Static images and icons: the bitmap's top left at the element position.
//   Image k of an icon is bitmap id + k.
// - Needles turn about their pivot, the point `ofs` of their bitmap placed on
//   the element position. A needle with a table is drawn pointing right (3
//   o'clock) from its pivot; the host turns it to the table's angle. A needle
//   without a table is drawn pointing up; the host turns it clockwise by its
//   value in degrees.
// - Sliders: the bitmap's top left at the position plus the slider's offsets.
// - Moving images: bitmap id is the strip of cells, top cell first; bitmap
//   id + 1 is its mask, the window at the element position: the strip shows
//   where the mask is not black. The strip slides so that the minimum of an
//   axis shows its first cell and the maximum its last.
// - Sprites: bitmap id is the texture; its centre lies on the texture centre
//   (in background pixels), moved by the sprite's x and y offsets along its
//   own axes in the opposite sense (the offsets move the texture under the
//   window), scaled by the texture scale and turned counter-clockwise by the
//   angle. Bitmap id + 1 is its mask, the window at the element position.
// - Black (0, 0, 0) is transparent for every element whose image flags ask
//   for it (all of this module's but the radar screen).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/panel.h"
#include "host/core/instance.h"
#include "host/core/module.h"
#include "tools/artwork/canvas.h"

namespace art {

struct Point {
  double x = 0, y = 0;
};

// A needle's scale as the host turns it: pivot and table.
struct Dial {
  Point pivot;
  std::vector<NonlinearityEntry> table;

  static Dial of(const NeedleElement &needle);
  // The same scale drawn in a bitmap placed at (x, y) of the background.
  Dial seen_from(double x, double y) const;
  // The table's angle for a value (radians clockwise from up), the host's own
  // interpolation.
  double angle(double value) const;
  Point at(double value, double radius) const;
};

// The module's gauges, read once.
class Context {
 public:
  explicit Context(z480::Module &module);
  bool has(const std::string &gauge) const { return gauges_.count(gauge) != 0; }
  // The n-th needle (from 0, in drawing order) of a gauge; the fallback when
  // the module has no such gauge yet.
  Dial needle(const std::string &gauge, int n, const Dial &fallback = {}) const;
  // Every bitmap id the element trees name (icon images and masks included).
  const std::map<int, std::string> &named() const { return named_; }
  // The bitmap id of a gauge's background (its first element); 0 for none.
  int background(const std::string &gauge) const;
  // A gauge's default width in its panel window's units; 0 for no gauge.
  int own_width(const std::string &gauge) const;

 private:
  std::map<std::string, std::unique_ptr<z480::Instance>> gauges_;
  std::map<int, std::string> named_;
};

using Painter = std::function<void(Canvas &, const Context &)>;

struct Design {
  int id;
  int width, height;
  Painter paint;
  Rgb matte = kFace;
};

std::vector<Design> &designs();
// Writes a file whole; throws when it cannot.
void write_file(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes);
// The design of a bitmap id; null when there is none.
const Design *design(int id);
// Adds designs from a source file's static initialiser.
struct Designs {
  Designs(std::initializer_list<Design> list);
};

}  // namespace art
