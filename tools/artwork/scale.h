// Scale marks, figures and coloured bands laid along a needle's table, so
// that each mark lies where the host points the needle at that value.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/artwork/canvas.h"
#include "tools/artwork/generator.h"

namespace art {

struct Ticks {
  double from, to, step;  // values
  double inner, outer;    // radii from the pivot
  double width = 1.5;
  Rgb colour = kWhite;
};
void ticks(Canvas &c, const Dial &d, const Ticks &t);

// Figures centred at a radius: the text for each value.
void figures(Canvas &c, const Dial &d, const std::vector<std::pair<double, std::string>> &marks,
             double radius, double size, Rgb colour = kWhite, double narrow = 1.0);
// Figures for from, from + step, ... to, each value times `shown` printed
// without decimals.
void numbers(Canvas &c, const Dial &d, double from, double to, double step, double radius,
             double size, double shown = 1.0, Rgb colour = kWhite);
// A coloured band along the scale between two values.
void band(Canvas &c, const Dial &d, double from, double to, double radius, double width,
          Rgb colour);
// The centre cap that hides the root of the needles.
void hub(Canvas &c, Point at, double r);

}  // namespace art
