// Coverage kept of the shapes and texts a graphics draws again and again:
// the same marker at a hundred places, the same tags, rings and lines every
// second. Rasterising a thin anti-aliased outline costs cairo tens of
// thousands of instructions even for a 3-pixel circle, showing a short text
// some ten thousand; blending kept coverage in a colour costs a few
// thousand at most. A shape or text is drawn directly the first time it is
// seen, kept the second time and blended from then on.
#pragma once

#include <cairo.h>
#include <pixman.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace platform::cairo_shapes {

enum class ShapeKind { kEllipse, kLine, kRectangle };

// In user space: the box of an ellipse or rectangle, or a line from (x, y)
// by (w, h). An outline is stroked `pen` user units wide; else it is filled.
struct Shape {
  ShapeKind kind;
  double x, y, w, h;
  bool outline;
  double pen;
};

// Adds an ellipse in the box as a closed figure: four cubic arcs, so that
// a flat ellipse (width or height 0) needs no singular scale.
void ellipse_path(cairo_t *cr, double x, double y, double w, double h);
// Starts a new path of the shape on cr.
void trace(cairo_t *cr, const Shape &shape);

// Axis-aligned, in device pixels.
struct DeviceBox {
  double x0, y0, x1, y1;
};

// The ellipse a coverage is cut to, in the space it was given in, and the
// map from that space to device pixels.
struct EllipseCut {
  cairo_matrix_t to_device;
  double cx, cy, rx, ry;
  cairo_antialias_t antialias;
  std::uint64_t generation;  // tells one clip from the next
};

struct Colour {
  double r, g, b, a;  // not premultiplied
};

class ShapeCache {
 public:
  // Blends the shape (whose device box, its ink and soft edge included, is
  // `box`) in the colour onto `target`, the pixels of cr's surface, cut to
  // `cut` when given. Smoothed shapes drawn without a cut are kept
  // independently of where they lie, their corners moved to the nearest
  // quarter pixel (an eighth at most, which no eye tells). False when the
  // shape is seen for the first time or is too large to keep: the caller
  // draws it.
  bool paint(cairo_t *cr, pixman_image_t *target, const Shape &shape, const DeviceBox &box,
             const EllipseCut *cut, const Colour &colour);

  // The same for a run of glyphs (user space, as cairo_show_glyphs takes
  // them) in a font made for cr's transform, never cut. Glyphs land on
  // whole pixels, so a run is kept by its glyphs' whole-pixel layout and
  // blends exactly as cairo would draw it.
  bool paint_glyphs(cairo_t *cr, pixman_image_t *target, cairo_scaled_font_t *font,
                    const cairo_glyph_t *glyphs, int count, const DeviceBox &box,
                    const Colour &colour);
  // The runs kept in fonts that are about to go.
  void forget_glyphs();

 private:
  using Key = std::array<double, 13>;
  struct KeyHash {
    std::size_t operator()(const Key &key) const;
  };
  struct ImageUnref {
    void operator()(pixman_image_t *image) const { pixman_image_unref(image); }
  };
  // A mask of coverage, its corner dx, dy whole pixels from where it is
  // placed (a shape's anchor pixel, a run's first glyph).
  struct Coverage {
    std::unique_ptr<pixman_image_t, ImageUnref> mask;
    int dx, dy;
  };
  // Draws on a mask in cr's device space, moved by whole pixels.
  using MaskDrawing = void (*)(cairo_t *mask, const void *what);

  // Whether a drawing seen for the first time should be kept: only from
  // its second sight on.
  bool seen_before(std::size_t hash);
  // Coverage of what `draw` draws within the box, in cr's device space
  // moved by (tx, ty); its corner in device pixels. A null mask when it
  // could not be made.
  static Coverage rasterise(cairo_t *cr, const DeviceBox &box, double tx, double ty,
                            MaskDrawing draw, const void *what);
  static Coverage cropped(Coverage coverage);
  // Makes room for a new mask of the size.
  void make_room(const Coverage &coverage);
  // A solid fill of the colour; null when it cannot be made.
  pixman_image_t *source(const Colour &colour);
  void blend(cairo_t *cr, pixman_image_t *target, const Coverage &coverage, int x, int y,
             const Colour &colour);

  std::unordered_map<Key, Coverage, KeyHash> kept_;
  std::unordered_map<std::string, Coverage> runs_;
  std::unordered_map<std::uint64_t, std::unique_ptr<pixman_image_t, ImageUnref>> sources_;
  std::unordered_set<std::size_t> seen_;
  std::size_t kept_bytes_ = 0;
};

}  // namespace platform::cairo_shapes
