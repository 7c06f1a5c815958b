#include "platform/draw_cairo_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::cairo_shapes {
namespace {

// Larger shapes are drawn each time: kept, they would hold more memory
// than they save time.
constexpr double kLargestArea = 256.0 * 256.0;
// Device coordinates a kept shape may have; whole pixels must fit an int.
constexpr double kFarthest = 1.0e6;
// What a graphics may keep, each mask counted with the image and table
// entry around it; a turning picture's lines take about half.
constexpr std::size_t kMostKeptBytes = std::size_t{2} << 20;
constexpr std::size_t kBytesAroundAMask = 512;
constexpr std::size_t kMostSeen = 4096;
constexpr std::size_t kMostSources = 64;  // colours
// A smoothed shape without a cut is kept at quarter-pixel steps.
constexpr double kStepsPerPixel = 4.0;

double snapped(double v) { return std::round(v * kStepsPerPixel) / kStepsPerPixel; }

std::uint16_t channel(double v) { return static_cast<std::uint16_t>(std::lround(v * 65535.0)); }

// Small enough to keep, and placed where whole pixels fit an int.
bool keepable(const DeviceBox &box) {
  return (box.x1 - box.x0) * (box.y1 - box.y0) <= kLargestArea && std::fabs(box.x0) < kFarthest &&
         std::fabs(box.x1) < kFarthest && std::fabs(box.y0) < kFarthest &&
         std::fabs(box.y1) < kFarthest;
}

std::size_t bytes_of(pixman_image_t *mask) {
  return static_cast<std::size_t>(pixman_image_get_stride(mask)) *
             static_cast<std::size_t>(pixman_image_get_height(mask)) +
         kBytesAroundAMask;
}

}  // namespace

void ellipse_path(cairo_t *cr, double x, double y, double w, double h) {
  constexpr double k = 0.5522847498307936;
  double rx = w / 2, ry = h / 2, cx = x + rx, cy = y + ry;
  cairo_move_to(cr, cx + rx, cy);
  cairo_curve_to(cr, cx + rx, cy + k * ry, cx + k * rx, cy + ry, cx, cy + ry);
  cairo_curve_to(cr, cx - k * rx, cy + ry, cx - rx, cy + k * ry, cx - rx, cy);
  cairo_curve_to(cr, cx - rx, cy - k * ry, cx - k * rx, cy - ry, cx, cy - ry);
  cairo_curve_to(cr, cx + k * rx, cy - ry, cx + rx, cy - k * ry, cx + rx, cy);
  cairo_close_path(cr);
}

void trace(cairo_t *cr, const Shape &s) {
  cairo_new_path(cr);
  switch (s.kind) {
    case ShapeKind::kEllipse: ellipse_path(cr, s.x, s.y, s.w, s.h); break;
    case ShapeKind::kLine:
      cairo_move_to(cr, s.x, s.y);
      cairo_line_to(cr, s.x + s.w, s.y + s.h);
      break;
    case ShapeKind::kRectangle: cairo_rectangle(cr, s.x, s.y, s.w, s.h); break;
  }
}

std::size_t ShapeCache::KeyHash::operator()(const Key &key) const {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (double v : key) {
    v += 0.0;  // -0 and 0 are one key
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    h = (h ^ bits) * 0x100000001b3u;
    h ^= h >> 29;
  }
  return static_cast<std::size_t>(h);
}

bool ShapeCache::seen_before(std::size_t hash) {
  if (seen_.size() >= kMostSeen) seen_.clear();
  return !seen_.insert(hash).second;
}

bool ShapeCache::paint(cairo_t *cr, pixman_image_t *target, const Shape &s, const DeviceBox &box,
                       const EllipseCut *cut, const Colour &colour) {
  if (!keepable(box)) return false;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  // Where the shape's corners land: exactly for a shape that is cut (its
  // coverage depends on where it meets the cut) or drawn without smoothing
  // (a step could move an edge by a whole pixel), else at the nearest step.
  bool snap = !cut && cairo_get_antialias(cr) != CAIRO_ANTIALIAS_NONE;
  double ax = s.x, ay = s.y, bx = s.x + s.w, by = s.y + s.h;
  cairo_matrix_transform_point(&m, &ax, &ay);
  cairo_matrix_transform_point(&m, &bx, &by);
  double qx = snap ? snapped(ax) : ax, qy = snap ? snapped(ay) : ay;
  double wx = cut ? 0.0 : std::floor(qx), wy = cut ? 0.0 : std::floor(qy);
  // A snapped shape is kept by the device step from corner to corner (a
  // line's direction, turning with the picture, takes few of them), and
  // drawn with the size that step gives.
  Shape drawn = s;
  double size_x = s.w, size_y = s.h;
  cairo_matrix_t linear = m;
  linear.x0 = linear.y0 = 0;
  if (snap && cairo_matrix_invert(&linear) == CAIRO_STATUS_SUCCESS) {
    size_x = snapped(bx) - qx;
    size_y = snapped(by) - qy;
    drawn.w = size_x;
    drawn.h = size_y;
    cairo_matrix_transform_distance(&linear, &drawn.w, &drawn.h);
  }
  Key key{static_cast<double>(s.kind),
          s.outline ? s.pen : -1.0,
          size_x,
          size_y,
          m.xx,
          m.yx,
          m.xy,
          m.yy,
          qx - wx,
          qy - wy,
          static_cast<double>(cairo_get_antialias(cr)),
          cairo_get_tolerance(cr),
          cut ? static_cast<double>(cut->generation) : 0.0};
  auto found = kept_.find(key);
  if (found == kept_.end()) {
    if (!seen_before(KeyHash{}(key))) return false;
    struct What {
      const Shape &shape;
      const EllipseCut *cut;
      cairo_matrix_t shape_to_mask;
    } what{drawn, cut, m};
    // The mask's corner is found in rasterise; the shape moves by the snap.
    Coverage coverage = rasterise(
        cr, box, qx - ax, qy - ay,
        [](cairo_t *mc, const void *p) {
          const What &w = *static_cast<const What *>(p);
          cairo_matrix_t to_mask;
          cairo_get_matrix(mc, &to_mask);  // device -> mask, set by rasterise
          if (w.cut) {
            cairo_matrix_t clip;
            cairo_matrix_multiply(&clip, &w.cut->to_device, &to_mask);
            cairo_set_matrix(mc, &clip);
            cairo_antialias_t antialias = cairo_get_antialias(mc);
            cairo_set_antialias(mc, w.cut->antialias);
            ellipse_path(mc, w.cut->cx - w.cut->rx, w.cut->cy - w.cut->ry, 2 * w.cut->rx,
                         2 * w.cut->ry);
            cairo_clip(mc);
            cairo_set_antialias(mc, antialias);
          }
          cairo_matrix_t shape;
          cairo_matrix_multiply(&shape, &w.shape_to_mask, &to_mask);
          cairo_set_matrix(mc, &shape);
          trace(mc, w.shape);
          if (w.shape.outline) {
            cairo_set_line_width(mc, w.shape.pen);
            cairo_stroke(mc);
          } else {
            cairo_fill(mc);
          }
        },
        &what);
    if (!coverage.mask) return false;
    coverage.dx -= static_cast<int>(wx);
    coverage.dy -= static_cast<int>(wy);
    make_room(coverage);
    found = kept_.emplace(key, std::move(coverage)).first;
  }
  blend(cr, target, found->second, static_cast<int>(wx), static_cast<int>(wy), colour);
  return true;
}

bool ShapeCache::paint_glyphs(cairo_t *cr, pixman_image_t *target, cairo_scaled_font_t *font,
                              const cairo_glyph_t *glyphs, int count, const DeviceBox &box,
                              const Colour &colour) {
  if (count <= 0) return true;
  if (!keepable(box)) return false;
  // The font, and each glyph with its whole pixel from the first one's.
  std::string key(reinterpret_cast<const char *>(&font), sizeof font);
  int first_x = 0, first_y = 0;
  for (int i = 0; i < count; ++i) {
    double x = glyphs[i].x, y = glyphs[i].y;
    cairo_user_to_device(cr, &x, &y);
    if (!(std::fabs(x) < kFarthest && std::fabs(y) < kFarthest)) return false;
    // As cairo places a glyph: to the nearest pixel, halves up.
    int px = static_cast<int>(std::floor(x + 0.5)), py = static_cast<int>(std::floor(y + 0.5));
    if (i == 0) {
      first_x = px;
      first_y = py;
    }
    std::int32_t place[3] = {static_cast<std::int32_t>(glyphs[i].index), px - first_x,
                             py - first_y};
    key.append(reinterpret_cast<const char *>(place), sizeof place);
  }
  auto found = runs_.find(key);
  if (found == runs_.end()) {
    if (!seen_before(std::hash<std::string>{}(key))) return false;
    struct What {
      cairo_scaled_font_t *font;
      const cairo_glyph_t *glyphs;
      int count;
      cairo_matrix_t user_to_mask;
    } what{font, glyphs, count, {}};
    cairo_get_matrix(cr, &what.user_to_mask);
    Coverage coverage = rasterise(
        cr, box, 0.0, 0.0,
        [](cairo_t *mc, const void *p) {
          const What &w = *static_cast<const What *>(p);
          cairo_matrix_t to_mask, m;
          cairo_get_matrix(mc, &to_mask);
          cairo_matrix_multiply(&m, &w.user_to_mask, &to_mask);
          cairo_set_matrix(mc, &m);
          cairo_set_scaled_font(mc, w.font);
          cairo_show_glyphs(mc, w.glyphs, w.count);
        },
        &what);
    if (!coverage.mask) return false;
    coverage.dx -= first_x;
    coverage.dy -= first_y;
    make_room(coverage);
    found = runs_.emplace(std::move(key), std::move(coverage)).first;
  }
  blend(cr, target, found->second, first_x, first_y, colour);
  return true;
}

void ShapeCache::forget_glyphs() {
  for (const auto &[key, coverage] : runs_) kept_bytes_ -= bytes_of(coverage.mask.get());
  runs_.clear();
}

void ShapeCache::make_room(const Coverage &coverage) {
  std::size_t bytes = bytes_of(coverage.mask.get());
  if (kept_bytes_ + bytes > kMostKeptBytes) {
    kept_.clear();
    runs_.clear();
    kept_bytes_ = 0;
  }
  kept_bytes_ += bytes;
}

ShapeCache::Coverage ShapeCache::rasterise(cairo_t *cr, const DeviceBox &box, double tx,
                                           double ty, MaskDrawing draw, const void *what) {
  // The moved box with a pixel to spare on each side.
  int x0 = static_cast<int>(std::floor(box.x0 + tx)) - 1;
  int y0 = static_cast<int>(std::floor(box.y0 + ty)) - 1;
  int width = static_cast<int>(std::ceil(box.x1 + tx)) + 1 - x0;
  int height = static_cast<int>(std::ceil(box.y1 + ty)) + 1 - y0;
  Coverage coverage{std::unique_ptr<pixman_image_t, ImageUnref>(
                        pixman_image_create_bits(PIXMAN_a8, width, height, nullptr, 0)),
                    x0, y0};
  if (!coverage.mask) return coverage;
  cairo_surface_t *surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char *>(pixman_image_get_data(coverage.mask.get())),
      CAIRO_FORMAT_A8, width, height, pixman_image_get_stride(coverage.mask.get()));
  cairo_t *mc = cairo_create(surface);
  cairo_set_antialias(mc, cairo_get_antialias(cr));
  cairo_set_tolerance(mc, cairo_get_tolerance(cr));
  cairo_set_line_cap(mc, cairo_get_line_cap(cr));
  cairo_set_line_join(mc, cairo_get_line_join(cr));
  cairo_set_miter_limit(mc, cairo_get_miter_limit(cr));
  cairo_matrix_t to_mask;
  cairo_matrix_init_translate(&to_mask, tx - x0, ty - y0);
  cairo_set_matrix(mc, &to_mask);
  draw(mc, what);
  bool drawn = cairo_status(mc) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(mc);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  if (!drawn) coverage.mask.reset();
  return cropped(std::move(coverage));
}

// Blending costs by the pixel, so the margins left around the ink go.
ShapeCache::Coverage ShapeCache::cropped(Coverage coverage) {
  pixman_image_t *mask = coverage.mask.get();
  if (!mask) return coverage;
  const auto *bytes = reinterpret_cast<const std::uint8_t *>(pixman_image_get_data(mask));
  int stride = pixman_image_get_stride(mask);
  int width = pixman_image_get_width(mask), height = pixman_image_get_height(mask);
  int left = width, right = -1, top = height, bottom = -1;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t *row = bytes + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      if (!row[x]) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) left = right = top = bottom = 0;  // no ink: one clear pixel
  if (left == 0 && top == 0 && right == width - 1 && bottom == height - 1) return coverage;
  int w = right - left + 1, h = bottom - top + 1;
  Coverage out{std::unique_ptr<pixman_image_t, ImageUnref>(
                   pixman_image_create_bits(PIXMAN_a8, w, h, nullptr, 0)),
               coverage.dx + left, coverage.dy + top};
  if (!out.mask) return out;
  auto *to = reinterpret_cast<std::uint8_t *>(pixman_image_get_data(out.mask.get()));
  int to_stride = pixman_image_get_stride(out.mask.get());
  for (int y = 0; y < h; ++y)
    std::memcpy(to + static_cast<std::ptrdiff_t>(y) * to_stride,
                bytes + static_cast<std::ptrdiff_t>(top + y) * stride + left,
                static_cast<std::size_t>(w));
  return out;
}

pixman_image_t *ShapeCache::source(const Colour &c) {
  pixman_color_t premultiplied{channel(c.r * c.a), channel(c.g * c.a), channel(c.b * c.a),
                               channel(c.a)};
  std::uint64_t key = std::uint64_t{premultiplied.red} << 48 |
                      std::uint64_t{premultiplied.green} << 32 |
                      std::uint64_t{premultiplied.blue} << 16 | premultiplied.alpha;
  auto found = sources_.find(key);
  if (found != sources_.end()) return found->second.get();
  if (sources_.size() >= kMostSources) sources_.clear();
  pixman_image_t *made = pixman_image_create_solid_fill(&premultiplied);
  if (made) sources_.emplace(key, made);
  return made;
}

void ShapeCache::blend(cairo_t *cr, pixman_image_t *target, const Coverage &coverage, int x,
                       int y, const Colour &c) {
  pixman_image_t *solid = source(c);
  if (!solid) return;
  pixman_image_t *mask = coverage.mask.get();
  x += coverage.dx;
  y += coverage.dy;
  int width = pixman_image_get_width(mask), height = pixman_image_get_height(mask);
  cairo_surface_t *surface = cairo_get_target(cr);
  cairo_surface_flush(surface);
  pixman_image_composite32(PIXMAN_OP_OVER, solid, mask, target, 0, 0, 0, 0, x, y, width, height);
  cairo_surface_mark_dirty_rectangle(surface, x, y, width, height);
}

}  // namespace platform::cairo_shapes
