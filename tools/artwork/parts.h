// Drawing pieces shared by the designs: needles, knobs, lamps, switches,
// digit strips, masks and glasses, all in the house style.
#pragma once

#include <string>
#include <vector>

#include "tools/artwork/canvas.h"
#include "tools/artwork/generator.h"

namespace art {

// A needle pointing right from its pivot (px, py in the bitmap): a tapered
// blade reaching `tip` pixels out, a counterweight `tail` pixels back.
void needle_right(Canvas &c, double px, double py, double tip, double tail, double width,
                  Rgb colour = kWhite, bool hub = true);
// The same pointing up.
void needle_up(Canvas &c, double px, double py, double tip, double tail, double width,
               Rgb colour = kWhite, bool hub = true);
// A knob seen from the front, centre (r, r), with an index line pointing
// right (for needles with a table) or up.
void knob_image(Canvas &c, double r, bool index_right = true);

// A round lamp filling the bitmap; `lit` glows, otherwise a dark lens.
void round_lamp(Canvas &c, Rgb colour, bool lit, const std::string &legend = "");
// A rectangular legend lamp filling the bitmap.
void legend_lamp(Canvas &c, Rgb colour, bool lit, const std::vector<std::string> &lines);

// A toggle lever seen from the front, filling the bitmap: bat up or down
// (or centred) from a nut at the middle.
enum class Lever { kUp, kCentre, kDown, kLeft, kRight };
void toggle(Canvas &c, Lever lever, double cx, double cy, double size);

// Digit cells stacked top to bottom: texts[k] in cell k.
void strip(Canvas &c, const std::vector<std::string> &texts, double cell_height, double size,
           Rgb ink = kWhite, Rgb ground = kBlack, double narrow = 1.0);
std::vector<std::string> digits_0_to_9_0();

// A mask: white (the window) where the strip or texture shows.
void window_rect(Canvas &c);
void window_circle(Canvas &c, double cx, double cy, double r);

// A push button filling the bitmap, lit or not.
void push_button(Canvas &c, Rgb cap, bool lit, const std::string &legend = "");

// Designs that only depend on their size.
Design glass_design(int id, int width, int height, double cx, double cy, double r);
Design mask_design(int id, int width, int height);

}  // namespace art
