// The panel's small pieces: window toggles, the registration plate and the
// invisible shutdown gauge.
#include "tools/artwork/parts.h"

namespace art {
namespace {

// A small square hot spot with a short legend.
Design toggle_button(int id, const std::string &legend) {
  return {id, 19, 19, [=](Canvas &c, const Context &) {
            c.round_rect(0, 0, 19, 19, 3, kBezel);
            c.round_rect(1.5, 1.5, 16, 16, 2.5, kPanel);
            double narrow = std::min(1.0, 15 / std::max(1.0, c.text_width(legend, 6.5)));
            c.text(9.5, 9.5, legend, 6.5, kWhite, Align::kCentre, true, narrow);
          }};
}

// Nothing to see: every pixel transparent.
Design invisible(int id, int w, int h) {
  return {id, w, h, [](Canvas &, const Context &) {}};
}

void registration_plate(Canvas &c, const Context &) {
  cairo_pattern_t *p = cairo_pattern_create_linear(0, 0, 0, 25);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.36, 0.37, 0.39);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.20, 0.21, 0.22);
  cairo_rectangle(c.cr(), 0, 0, 150, 25);
  cairo_set_source(c.cr(), p);
  cairo_fill(c.cr());
  cairo_pattern_destroy(p);
  c.line(0.5, 0.5, 149.5, 0.5, 1, kMetal);
  c.screw(6, 12.5, 3);
  c.screw(144, 12.5, 3);
}

const Designs kPanelPieces{
    {60, 150, 25, registration_plate},
    toggle_button(70, "KNEE"),
    toggle_button(80, "MAP"),
    toggle_button(90, "ATC"),
    invisible(100, 19, 19),
    toggle_button(110, "OVHD"),
    toggle_button(120, "\u00d7"),
    toggle_button(130, "RAD"),
    toggle_button(150, "LDG"),
    toggle_button(160, "GPS"),
    toggle_button(170, "THR"),
    toggle_button(180, "ELEC"),
    toggle_button(190, "CMP"),
    toggle_button(200, "NAV"),
    invisible(490, 5, 5),
};

}  // namespace
}  // namespace art
