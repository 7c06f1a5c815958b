// HSI, homing indicator, RMI, marker lights and the navigation source
// switches.
#include <cmath>
#include <numbers>

#include "tools/artwork/parts.h"
#include "tools/artwork/scale.h"

namespace art {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr Rgb kDrum{0.06, 0.06, 0.06};

// A compass card of radius r centred in its bitmap, north up, figures
// reading from the centre.
void compass_card(Canvas &c, double r) {
  double cx = c.width() / 2.0, cy = c.height() / 2.0;
  c.circle(cx, cy, r, mix(kFace, kBlack, 0.3));
  cairo_t *cr = c.cr();
  for (int deg = 0; deg < 360; deg += 5) {
    double a = deg * kPi / 180;
    double inner = deg % 10 == 0 ? r * 0.86 : r * 0.92;
    c.line(cx + std::sin(a) * inner, cy - std::cos(a) * inner, cx + std::sin(a) * (r - 1),
           cy - std::cos(a) * (r - 1), deg % 10 == 0 ? 2 : 1.2, kWhite);
  }
  const char *names[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
  for (int k = 0; k < 12; ++k) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, k * kPi / 6);
    c.text(0, -r * 0.72, names[k], k % 3 == 0 ? r * 0.16 : r * 0.13, kWhite);
    cairo_restore(cr);
  }
}

Design card(int id, int size, double r) {
  return {id, size, size, [=](Canvas &c, const Context &) { compass_card(c, r); }};
}
Design round_mask(int id, int size, double r) {
  return {id, size, size, [=](Canvas &c, const Context &) { window_circle(c, size / 2.0, size / 2.0, r); }};
}

// A bearing pointer pointing right from its pivot: one bar or two.
Design bearing_pointer(int id, int w, int h, double pivot_x, bool double_bar, Rgb colour) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            double cy = h / 2.0;
            double head = w - 2;
            c.polygon({head, cy, head - 16, cy - 8, head - 16, cy + 8}, colour);
            if (double_bar) {
              for (double dy : {-4.0, 4.0}) {
                c.line(4, cy + dy, pivot_x - 18, cy + dy, 2.5, colour);
                c.line(pivot_x + 18, cy + dy, head - 14, cy + dy, 2.5, colour);
              }
              c.line(2, cy - 8, 10, cy, 2.5, colour);
              c.line(2, cy + 8, 10, cy, 2.5, colour);
            } else {
              c.line(4, cy, pivot_x - 14, cy, 3, colour);
              c.line(pivot_x + 14, cy, head - 14, cy, 3, colour);
              c.line(4, cy - 6, 4, cy + 6, 3, colour);
            }
          }};
}

void lubber(Canvas &c, double cx, double top) { c.polygon({cx - 7, top - 10, cx + 7, top - 10, cx, top + 2}, kWhite); }

void instrument_ring(Canvas &c, double cx, double cy, double inner, double outer) {
  cairo_t *cr = c.cr();
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, outer, 0, 2 * kPi);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, cx, cy, inner, 2 * kPi, 0);
  cairo_set_source_rgb(cr, kBezel.r, kBezel.g, kBezel.b);
  cairo_fill(cr);
}

void aircraft_symbol(Canvas &c, double cx, double cy, double s) {
  c.line(cx - s, cy, cx + s, cy, s * 0.16, kAmber);
  c.line(cx, cy - s * 0.6, cx, cy + s * 0.9, s * 0.16, kAmber);
  c.line(cx - s * 0.4, cy + s * 0.85, cx + s * 0.4, cy + s * 0.85, s * 0.14, kAmber);
}

void hsi_face(Canvas &c, const Context &) {
  c.plate(0, 0, 304, 270, kFace);
  c.circle(155, 145, 110, kBezel);
  c.round_rect(244, 39, 51, 39, 3, kBezel);
  c.rect(247, 42, 43, 33, kDrum);
  c.round_rect(20, 39, 50, 39, 3, kBezel);
  c.rect(23, 42, 44, 33, kDrum);
  c.text(268, 32, "CRS", 8, kWhite);
  c.text(45, 32, "NM", 8, kWhite);
  for (double dy : {-38.0, -19.0, 19.0, 38.0}) c.ring(27, 145 + dy, 3.5, 1.5, kWhite);
  c.line(20, 145, 34, 145, 2, kWhite);
  c.text(27, 190, "GS", 7, kGrey);
  c.text(53, 216, "HDG", 7, kGrey);
  c.text(252, 216, "CRS", 7, kGrey);
}

void hsi_bezel(Canvas &c, const Context &) {
  instrument_ring(c, 155, 145, 101, 112);
  for (int k = 0; k < 8; ++k) {
    if (k == 0) continue;
    double a = k * kPi / 4;
    c.line(155 + std::sin(a) * 103, 145 - std::cos(a) * 103, 155 + std::sin(a) * 111,
           145 - std::cos(a) * 111, 3, kWhite);
  }
  lubber(c, 155, 45);
  aircraft_symbol(c, 155, 145, 16);
}

void course_pointer(Canvas &c, const Context &) {
  Rgb col = kYellow;
  c.polygon({100, 6, 92, 22, 108, 22}, col);
  c.rect(97.5, 20, 5, 28, col);
  c.rect(97.5, 152, 5, 40, col);
  for (double dx : {-45.0, -22.5, 22.5, 45.0}) c.ring(100 + dx, 100, 3.5, 1.5, kWhite);
}

void flag(Canvas &c, const std::string &text) {
  c.rect(0, 0, c.width(), c.height(), kRed);
  c.text(c.width() / 2.0, c.height() / 2.0, text, c.height() * 0.7, kWhite, Align::kCentre, true, 0.85);
}
Design flag_design(int id, int w, int h, const std::string &text) {
  return {id, w, h, [=](Canvas &c, const Context &) { flag(c, text); }};
}

// Red and white stripes over a digit window that has nothing to show.
Design hatch(int id, int w, int h) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            c.rect(0, 0, w, h, kWhite);
            cairo_save(c.cr());
            cairo_rectangle(c.cr(), 0, 0, w, h);
            cairo_clip(c.cr());
            for (double x = -h; x < w; x += 10) c.polygon({x, h + 0.0, x + 5, h + 0.0, x + 5 + h, 0, x + h, 0}, kRed);
            cairo_restore(c.cr());
          }};
}

Design knob_with(int id, int size, const std::string &label) {
  return {id, size, size, [=](Canvas &c, const Context &) {
            double r = size / 2.0;
            knob_image(c, r, true);
            c.text(r, r + r * 0.45, label, r * 0.32, kWhite, Align::kCentre, true, 0.8);
          }};
}

void homing_face(Canvas &c, const Context &) {
  c.plate(0, 0, 300, 300, kFace);
  c.circle(150, 150, 138, kBezel);
  c.text(274, 250, "HDG", 7, kGrey);
}

void homing_bezel(Canvas &c, const Context &) {
  instrument_ring(c, 150, 150, 130, 142);
  lubber(c, 150, 20);
  c.round_rect(108, 88, 86, 27, 3, kBezel);
  cairo_set_operator(c.cr(), CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(c.cr(), 112, 92, 78, 19);
  cairo_fill(c.cr());
  cairo_set_operator(c.cr(), CAIRO_OPERATOR_OVER);
  c.text(150, 122, "NM", 7, kGrey);
  aircraft_symbol(c, 150, 170, 14);
}

void heading_bug_right(Canvas &c, const Context &) {
  c.rect(118, 5, 13, 8, kAmber);
  c.rect(118, 18, 13, 8, kAmber);
  c.rect(125, 5, 6, 21, kAmber);
}

void rmi_face(Canvas &c, const Context &) {
  c.plate(0, 0, 296, 286, kFace);
  c.circle(148, 140, 138, kBezel);
}

void rmi_bezel(Canvas &c, const Context &) {
  instrument_ring(c, 148, 140, 130, 140);
  lubber(c, 148, 10);
  hub(c, {148, 140}, 9);
}

Design rmi_selector(int id, int w, int h, bool adf, Rgb colour) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            double r = std::min(w, h) / 2.0 - 8;
            c.knob(w / 2.0, h / 2.0 + 4, r, kBezel);
            c.line(w / 2.0, h / 2.0 + 4, w / 2.0 + (adf ? 0.6 : -0.6) * r, h / 2.0 + 4 - 0.8 * r, 3, colour);
            c.text(10, 7, "VOR", 7, adf ? kGrey : kWhite, Align::kLeft);
            c.text(w - 10.0, 7, "ADF", 7, adf ? kWhite : kGrey, Align::kRight);
          }};
}

void marker_face(Canvas &c, const Context &) {
  c.plate(0, 0, 60, 125, kPanel, false);
  const Rgb colours[] = {kCyan, kAmber, kWhite};
  const char *names[] = {"O", "M", "I"};
  const double ys[] = {23, 63, 102};
  for (int k = 0; k < 3; ++k) {
    c.circle(23, ys[k], 12.5, kBezel);
    c.circle(23, ys[k], 10, mix(colours[k], kBlack, 0.75));
    c.text(47, ys[k], names[k], 10, kWhite);
  }
}

Design marker_lamp(int id, Rgb colour, const char *name) {
  return {id, 22, 22, [=](Canvas &c, const Context &) { round_lamp(c, colour, true, name); }};
}

void marker_test(Canvas &c, const Context &) {
  const Rgb colours[] = {kCyan, kAmber, kWhite};
  const char *names[] = {"O", "M", "I"};
  const int ys[] = {0, 40, 79};
  for (int k = 0; k < 3; ++k) {
    Canvas lamp(22, 22);
    round_lamp(lamp, colours[k], true, names[k]);
    cairo_set_source_surface(c.cr(), cairo_get_target(lamp.cr()), 0, ys[k]);
    cairo_paint(c.cr());
  }
}

Design source_switch_face(int id, const char *left, const char *right) {
  return {id, 46, 32, [=](Canvas &c, const Context &) {
            c.plate(0, 0, 46, 32, kPanel, false);
            c.text(3, 6, left, 6, kWhite, Align::kLeft);
            c.text(43, 6, right, 6, kWhite, Align::kRight);
          }};
}
Design source_lever(int id, bool right) {
  return {id, 46, 32, [=](Canvas &c, const Context &) { toggle(c, right ? Lever::kRight : Lever::kLeft, 23, 19, 26); }};
}

const Designs kNavigation{
    {3210, 304, 270, hsi_face},
    card(3220, 200, 99),
    round_mask(3221, 200, 100),
    {3230, 40, 40, [](Canvas &c, const Context &) { c.polygon({20, 2, 11, 18, 29, 18}, kWhite); }},
    {3240, 22, 106, [](Canvas &c, const Context &) {
       c.rect(1, 0, 8, 10, kAmber);
       c.rect(13, 0, 8, 10, kAmber);
       c.rect(1, 6, 20, 5, kAmber);
     }},
    {3250, 200, 200, course_pointer},
    {3260, 200, 200, [](Canvas &c, const Context &) { c.rect(97.5, 52, 5, 96, kYellow); }},
    round_mask(3261, 200, 72),
    {3270, 44, 44, [](Canvas &c, const Context &) { knob_image(c, 22); }},
    {3280, 44, 44, [](Canvas &c, const Context &) { knob_image(c, 22); }},
    flag_design(3290, 26, 14, "NAV"),
    flag_design(3300, 34, 14, "HDG"),
    {3310, 14, 12, [](Canvas &c, const Context &) { c.polygon({14, 6, 2, 0.5, 2, 11.5}, kMagenta); }},
    flag_design(3320, 26, 14, "GS"),
    bearing_pointer(3330, 168, 27, 84, false, kGreen),
    bearing_pointer(3340, 200, 25, 105, true, kMagenta),
    hatch(3350, 44, 11),
    {3360, 304, 270, hsi_bezel},
    {3370, 13, 363, [](Canvas &c, const Context &) { strip(c, digits_0_to_9_0(), 33, 19, kWhite, kDrum, 0.7); }},
    mask_design(3371, 13, 33),
    {3380, 3, 33, [](Canvas &c, const Context &) { c.circle(1.5, 26, 1.5, kWhite); }},
    {2000, 300, 300, homing_face},
    card(2010, 260, 128),
    round_mask(2011, 260, 130),
    knob_with(2020, 46, "HDG"),
    {2030, 135, 31, heading_bug_right},
    bearing_pointer(2040, 210, 21, 105, false, kYellow),
    bearing_pointer(2050, 210, 35, 105, true, kCyan),
    flag_design(2060, 34, 14, "NAV"),
    hatch(2070, 80, 9),
    {2080, 19, 209, [](Canvas &c, const Context &) { strip(c, digits_0_to_9_0(), 19, 15, kWhite, kDrum, 0.8); }},
    mask_design(2081, 19, 19),
    {2090, 300, 300, homing_bezel},
    {1030, 296, 286, rmi_face},
    card(1040, 260, 128),
    round_mask(1041, 260, 130),
    bearing_pointer(1050, 220, 15, 110, false, kGreen),
    bearing_pointer(1060, 220, 37, 110, true, kYellow),
    {1070, 296, 286, rmi_bezel},
    rmi_selector(1080, 70, 65, false, kGreen),
    rmi_selector(1081, 70, 65, true, kGreen),
    rmi_selector(1090, 65, 65, false, kYellow),
    rmi_selector(1091, 65, 65, true, kYellow),
    {430, 60, 125, marker_face},
    marker_lamp(440, kCyan, "O"),
    marker_lamp(450, kAmber, "M"),
    marker_lamp(460, kWhite, "I"),
    {470, 22, 101, marker_test},
    source_switch_face(280, "ILS", "TAC"),
    source_lever(290, false),
    source_lever(291, true),
    source_switch_face(260, "NAV", "GPS"),
    source_lever(270, false),
    source_lever(271, true),
};

}  // namespace
}  // namespace art
