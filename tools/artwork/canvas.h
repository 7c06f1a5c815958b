// The house style of the panel's bitmaps and the cairo drawing they are made
// with: dark grey faces, white marks, DejaVu Sans.
//
// Every bitmap ends as the host takes it: 24-bit pixels where pure black
// (0, 0, 0) is transparent wherever the element's image flags ask for it.
// Canvas::pixels() folds cairo's coverage into that: a pixel at least a
// quarter covered keeps its colour, blended over the canvas's matte colour
// (the face it will lie on, so antialiased edges look right there); a pixel
// less covered becomes transparent black; a drawn colour that would come out
// black is lifted to (1, 1, 1).
#pragma once

#include <cairo.h>

#include <string>

#include "host/util/dib.h"

namespace art {

struct Rgb {
  double r = 0, g = 0, b = 0;
};

inline constexpr Rgb kFace{0.17, 0.17, 0.18};      // instrument faces and panels
inline constexpr Rgb kPanel{0.24, 0.25, 0.26};     // the panel plate around switches
inline constexpr Rgb kBezel{0.10, 0.10, 0.11};     // bezels and knobs
inline constexpr Rgb kMetal{0.55, 0.56, 0.58};     // screws, levers, rims
inline constexpr Rgb kWhite{0.94, 0.94, 0.91};     // marks and figures
inline constexpr Rgb kGrey{0.60, 0.60, 0.60};      // secondary legends
inline constexpr Rgb kBlack{0.04, 0.04, 0.04};     // opaque black (never transparent)
inline constexpr Rgb kRed{0.86, 0.12, 0.10};
inline constexpr Rgb kAmber{0.98, 0.62, 0.08};
inline constexpr Rgb kYellow{0.98, 0.86, 0.15};
inline constexpr Rgb kGreen{0.15, 0.80, 0.25};
inline constexpr Rgb kCyan{0.30, 0.80, 0.95};
inline constexpr Rgb kMagenta{0.95, 0.35, 0.85};
inline constexpr Rgb kSky{0.18, 0.48, 0.80};
inline constexpr Rgb kEarth{0.52, 0.33, 0.16};
inline constexpr Rgb kDarkLens{0.20, 0.18, 0.16};  // an unlit lamp's lens

Rgb mix(Rgb a, Rgb b, double t);

enum class Align { kLeft, kCentre, kRight };

class Canvas {
 public:
  Canvas(int width, int height, Rgb matte = kFace);
  ~Canvas();
  Canvas(const Canvas &) = delete;
  Canvas &operator=(const Canvas &) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t *cr() const { return cr_; }
  void set_matte(Rgb matte) { matte_ = matte; }

  // Filled shapes.
  void rect(double x, double y, double w, double h, Rgb fill);
  void round_rect(double x, double y, double w, double h, double radius, Rgb fill);
  void circle(double cx, double cy, double r, Rgb fill);
  void ring(double cx, double cy, double r, double width, Rgb colour);
  void line(double x1, double y1, double x2, double y2, double width, Rgb colour);
  void polygon(std::initializer_list<double> xy, Rgb fill);
  // A shaded round knob or button with a rim.
  void knob(double cx, double cy, double r, Rgb body = kBezel);
  void screw(double cx, double cy, double r = 4);
  // A face with a bezel ring: the body of every round dial.
  void round_dial(double cx, double cy, double r);
  // A rectangular face with a bevelled edge and screws in the corners.
  void plate(double x, double y, double w, double h, Rgb fill = kPanel, bool screws = true);
  // A glass: a soft highlight arc over a dial of radius r (the rest stays
  // transparent).
  void glass(double cx, double cy, double r);

  // Text centred vertically on y. Bold DejaVu Sans unless asked otherwise;
  // narrow < 1 condenses it.
  void text(double x, double y, const std::string &s, double size, Rgb colour,
            Align align = Align::kCentre, bool bold = true, double narrow = 1.0);
  double text_width(const std::string &s, double size, bool bold = true, double narrow = 1.0);

  // The bitmap as the host takes it.
  z480::Pixels pixels();

 private:
  void font(double size, bool bold, double narrow);

  int width_, height_;
  Rgb matte_;
  cairo_surface_t *surface_;
  cairo_t *cr_;
};

}  // namespace art
