// The host's renderer: draws placed gauges with cairo from the snapshot the
// last frame recorded (host/core/instance.h ElementView) and the module's own
// bitmaps, never calling an element callback.
//
// Element kinds, as the bitmap generator draws for them (tools/artwork):
// static images and icons at their position (image k of an icon is bitmap
// id + k); needles turned about their pivot, those with a table drawn
// pointing right and turned to the table's angle, those without drawn
// pointing up and turned clockwise by their value in degrees; sliders moved
// by their offsets; moving images sliding their strip (bitmap id) through
// their mask (bitmap id + 1), the minimum showing the first cell and the
// maximum the last; sprites laying their texture's centre on the texture
// centre, moved against their offsets along their own axes, scaled and
// turned counter-clockwise, seen through their mask (bitmap id + 1);
// strings in their box with their font, colours and draw-text flags; an
// element that draws for itself (the radar's screen) shows the pixels the
// host gave it. Black is
// transparent where the image flags ask for it; hidden elements and those a
// failure keeps from drawing are skipped, covered ones drawn covered. A
// bitmap the module does not carry is drawn as a "missing" placeholder.
#pragma once

#include <cairo.h>

#include <cmath>
#include <optional>
#include <string>

#include "host/core/host.h"
#include "host/render/render_bitmap.h"
#include "host/render/render_cli.h"

namespace z480 {

class Renderer {
 public:
  explicit Renderer(void *module) : bitmaps_(module) {}

  // The size of an instance in gauge pixels: its background's.
  std::pair<int, int> size(const Instance &inst);
  // Draws an instance with its top left at (x, y), sx and sy screen pixels per
  // gauge pixel, clipped to its background; nothing at a scale that is no
  // positive number. Bitmaps are resampled to each scale once and kept, so
  // a renderer kept between pictures draws the next ones faster.
  void draw(cairo_t *cr, const Instance &inst, double x, double y, double sx, double sy);

 private:
  void element(cairo_t *cr, const Instance &inst, std::size_t index);
  void bitmap_at(cairo_t *cr, std::int32_t id, bool transparent, double x, double y);
  void needle(cairo_t *cr, const ElementView &v, bool transparent);
  void missing(cairo_t *cr, std::int32_t id, double x, double y, double w, double h);
  void moving_image(cairo_t *cr, const ElementView &v, bool transparent);
  void sprite(cairo_t *cr, const ElementView &v, bool transparent);
  void text(cairo_t *cr, const ElementView &v);
  void cover(cairo_t *cr, double x, double y, double w, double h);

  // Whether the instance is drawn at the same scale both ways, so that a
  // resampled bitmap may be turned.
  bool uniform() const { return std::abs(sx_ - sy_) <= 1e-9 * sx_; }

  BitmapCache bitmaps_;
  double sx_ = 1, sy_ = 1;  // the scale of the instance being drawn
};

// Where an instance placed in a panel window draws, in the window's pixels:
// its top left, its scale and its size. Nothing for an instance that no
// panel configuration placed.
struct WindowBox {
  double x = 0, y = 0, sx = 1, sy = 1, width = 0, height = 0;
};
std::optional<WindowBox> window_box(Renderer &renderer, const Instance &inst);

// Draws what a host shows into a PNG: the instances of one panel window at
// their places in it, over the window's background bitmap (stretched to the
// window's size) or else its background colour; or, without a window, every
// placed instance laid out in rows at its default size. False with a reason when it cannot, and for
// a window that is closed (its gauges neither update nor draw). The renderer
// given is kept by the caller between pictures of one module.
bool render_png(Host &host, Renderer &renderer, const std::string &path,
                std::optional<std::uint32_t> window, std::string *error);
bool render_png(Host &host, const std::string &path, std::optional<std::uint32_t> window,
                std::string *error);
// The same picture as a PNG file's bytes, into png.
bool render_png_bytes(Host &host, Renderer &renderer, std::string *png,
                      std::optional<std::uint32_t> window, std::string *error);

}  // namespace z480
