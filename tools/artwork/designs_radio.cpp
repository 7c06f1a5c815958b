// The NAV/COM, ADF and transponder control heads and their digit strips.
#include "tools/artwork/parts.h"

namespace art {
namespace {

constexpr Rgb kDrum{0.06, 0.06, 0.06};

void window_frame(Canvas &c, double x, double y, double w, double h) {
  c.round_rect(x - 3, y - 3, w + 6, h + 6, 3, kBezel);
  c.rect(x, y, w, h, kDrum);
}

void unlit_lamp(Canvas &c, double x, double y, double size, Rgb colour) {
  c.circle(x + size / 2, y + size / 2, size / 2 + 1.5, kBezel);
  c.circle(x + size / 2, y + size / 2, size / 2, mix(colour, kBlack, 0.75));
}

void nav_com_face(Canvas &c, int set) {
  c.plate(0, 0, 400, 180);
  std::string n = std::to_string(set);
  window_frame(c, 65, 41, 78, 26);
  window_frame(c, 253, 41, 78, 26);
  c.text(104, 24, "COM " + n, 12, kWhite);
  c.text(292, 24, "NAV " + n, 12, kWhite);
  c.text(104, 78, "MHz", 8, kGrey);
  c.text(292, 78, "MHz", 8, kGrey);
  for (double x : {24.0, 215.0}) {
    c.text(x - 8, 88, "OFF", 7, kWhite);
    c.text(x + 33, 84, "ON", 7, kWhite);
  }
  unlit_lamp(c, 98, 156, 12, kGreen);
  unlit_lamp(c, 291, 156, 12, kGreen);
  for (double x : {54.0, 154.0, 245.0, 348.0}) c.circle(x, 126, 29, kBezel);
  c.text(54, 163, "WHOLE", 6, kGrey);
  c.text(154, 163, "FRACT", 6, kGrey);
  c.text(245, 163, "WHOLE", 6, kGrey);
  c.text(348, 163, "FRACT", 6, kGrey);
}

Design rotary(int id, int size, bool on) {
  return {id, size, size, [=](Canvas &c, const Context &) {
            double r = size / 2.0;
            c.knob(r, r, r - 1, kBezel);
            double dx = on ? 0.7 : -0.7, dy = -0.7;
            c.line(r, r, r + dx * (r - 3), r + dy * (r - 3), 3, kWhite);
          }};
}

Design digit_strip(int id, int w, double cell, std::vector<std::string> texts, double size,
                   double narrow) {
  int h = static_cast<int>(cell * texts.size());
  return {id, w, h, [=](Canvas &c, const Context &) { strip(c, texts, cell, size, kWhite, kDrum, narrow); }};
}

Design cell(int id, int w, int h, const std::string &text, double size) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            c.rect(0, 0, w, h, kDrum);
            c.text(w / 2.0, text == "." ? h * 0.75 : h / 2.0, text, size, kWhite, Align::kCentre, true, 0.75);
          }};
}

Design lamp(int id, int size, Rgb colour) {
  return {id, size, size, [=](Canvas &c, const Context &) { round_lamp(c, colour, true); }};
}

void adf_face(Canvas &c, const Context &) {
  c.plate(0, 0, 220, 170);
  window_frame(c, 60, 45, 75, 33);
  c.text(30, 30, "ADF", 13, kWhite);
  c.text(150, 62, "kHz", 8, kGrey);
  c.text(149, 118, "OFF", 7, kWhite);
  c.text(200, 100, "ON", 7, kWhite);
  c.text(182, 66, "TONE", 7, kWhite);
  unlit_lamp(c, 90, 11, 12, kGreen);
  c.circle(97, 131, 33, kBezel);
}

Design horizontal_toggle(int id, int w, int h, bool right) {
  return {id, w, h, [=](Canvas &c, const Context &) {
            c.round_rect(0, 0, w, h, 3, kBezel);
            toggle(c, right ? Lever::kRight : Lever::kLeft, w / 2.0, h / 2.0, h * 1.2);
          }};
}

void xpdr_face(Canvas &c, const Context &) {
  c.plate(0, 0, 261, 99);
  window_frame(c, 118, 59, 78, 17);
  c.text(157, 20, "XPDR", 12, kWhite);
  c.text(157, 36, "CODE", 7, kGrey);
  c.text(70, 20, "ON", 7, kWhite);
  c.text(70, 66, "OFF", 7, kWhite);
  c.text(222, 72, "IDENT", 7, kWhite);
  unlit_lamp(c, 53, 79, 10, kGreen);
  for (double x : {122.5, 145.5, 168.5, 191.5}) {
    c.polygon({x - 4, 53, x + 4, 53, x, 47}, kGrey);
    c.polygon({x - 4, 82, x + 4, 82, x, 88}, kGrey);
  }
}

Design vertical_toggle(int id, bool up) {
  return {id, 28, 66, [up](Canvas &c, const Context &) {
            c.round_rect(0, 0, 28, 66, 4, kBezel);
            toggle(c, up ? Lever::kUp : Lever::kDown, 14, 33, 36);
          }};
}

const std::vector<std::string> kComPairs = {"00", "-", "25", "-", "-", "50", "-", "75", "-", "-", "-"};

const Designs kRadio{
    {4000, 400, 180, [](Canvas &c, const Context &) { nav_com_face(c, 1); }},
    {4010, 400, 180, [](Canvas &c, const Context &) { nav_com_face(c, 2); }},
    {4020, 54, 54, [](Canvas &c, const Context &) { knob_image(c, 27); }},
    rotary(4030, 24, false),
    rotary(4031, 24, true),
    lamp(4040, 12, kGreen),
    digit_strip(4050, 14, 26, digits_0_to_9_0(), 19, 0.75),
    mask_design(4051, 14, 26),
    digit_strip(4060, 14, 26, {"0", "1"}, 19, 0.75),
    mask_design(4061, 14, 26),
    cell(4070, 14, 26, "1", 19),
    cell(4080, 8, 26, ".", 19),
    digit_strip(4090, 14, 26, {"0", "1", "2", "3"}, 19, 0.75),
    mask_design(4091, 14, 26),
    digit_strip(4100, 14, 26, kComPairs, 13, 0.5),
    mask_design(4101, 14, 26),
    {1220, 220, 170, adf_face},
    {1230, 32, 32, [](Canvas &c, const Context &) { knob_image(c, 16); }},
    {1240, 46, 46, [](Canvas &c, const Context &) { knob_image(c, 23); }},
    {1250, 60, 60, [](Canvas &c, const Context &) { knob_image(c, 30); }},
    digit_strip(1260, 14, 33, digits_0_to_9_0(), 21, 0.7),
    mask_design(1261, 14, 33),
    cell(1270, 14, 33, "0", 21),
    cell(1271, 14, 33, "1", 21),
    cell(1280, 5, 33, ".", 16),
    rotary(1290, 30, false),
    rotary(1291, 30, true),
    lamp(1300, 12, kGreen),
    horizontal_toggle(1310, 24, 16, false),
    horizontal_toggle(1311, 24, 16, true),
    {4110, 261, 99, xpdr_face},
    digit_strip(4120, 9, 17, digits_0_to_9_0(), 14, 0.6),
    mask_design(4121, 9, 17),
    vertical_toggle(4130, false),
    vertical_toggle(4131, true),
    lamp(4140, 10, kGreen),
    {4150, 26, 32, [](Canvas &c, const Context &) { push_button(c, kBezel, false, "ID"); }},
    {4151, 26, 32, [](Canvas &c, const Context &) { push_button(c, kAmber, true, "ID"); }},
};

}  // namespace
}  // namespace art
