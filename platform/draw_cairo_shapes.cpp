#include "platform/draw_cairo_shapes.h"

#include <cmath>
#include <cstring>

namespace platform::cairo_shapes {
namespace {

// Beyond this a shape is mostly empty pixels, cheaper drawn than blended.
constexpr double kLargestArea = 256.0 * 256.0;
// Device coordinates a kept shape may have; whole pixels must fit an int.
constexpr double kFarthest = 1.0e6;
constexpr std::size_t kMostKeptBytes = std::size_t{4} << 20;
constexpr std::size_t kMostSeen = 4096;
// A shape without a cut is kept at quarter-pixel steps: moved at most an
// eighth of a pixel, which no eye tells from where it was asked.
constexpr double kStepsPerPixel = 4.0;

double snapped(double v) { return std::round(v * kStepsPerPixel) / kStepsPerPixel; }

std::uint16_t channel(double v) { return static_cast<std::uint16_t>(std::lround(v * 65535.0)); }

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

bool ShapeCache::paint(cairo_t *cr, pixman_image_t *target, const Shape &s, const DeviceBox &box,
                       const EllipseCut *cut, const Colour &colour) {
  if (!((box.x1 - box.x0) * (box.y1 - box.y0) <= kLargestArea) ||
      !(std::fabs(box.x0) < kFarthest && std::fabs(box.x1) < kFarthest &&
        std::fabs(box.y0) < kFarthest && std::fabs(box.y1) < kFarthest))
    return false;
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  // Where the shape's corner lands: a free shape at the nearest step, a cut
  // one exactly (its coverage depends on where it meets the cut).
  double ax = s.x, ay = s.y;
  cairo_matrix_transform_point(&m, &ax, &ay);
  double qx = cut ? ax : snapped(ax), qy = cut ? ay : snapped(ay);
  double wx = cut ? 0.0 : std::floor(qx), wy = cut ? 0.0 : std::floor(qy);
  Key key{static_cast<double>(s.kind),
          s.outline ? s.pen : -1.0,
          s.w,
          s.h,
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
    if (seen_.size() >= kMostSeen) seen_.clear();
    if (seen_.insert(KeyHash{}(key)).second) return false;
    Coverage coverage = rasterise(cr, s, box, cut, qx - ax, qy - ay);
    if (!coverage.mask) return false;
    coverage.dx -= static_cast<int>(wx);
    coverage.dy -= static_cast<int>(wy);
    std::size_t bytes = static_cast<std::size_t>(pixman_image_get_stride(coverage.mask.get())) *
                        static_cast<std::size_t>(pixman_image_get_height(coverage.mask.get()));
    if (kept_bytes_ + bytes > kMostKeptBytes) {
      kept_.clear();
      kept_bytes_ = 0;
    }
    kept_bytes_ += bytes;
    found = kept_.emplace(key, std::move(coverage)).first;
  }
  blend(cr, target, found->second, static_cast<int>(wx), static_cast<int>(wy), colour);
  return true;
}

ShapeCache::Coverage ShapeCache::rasterise(cairo_t *cr, const Shape &s, const DeviceBox &box,
                                           const EllipseCut *cut, double tx, double ty) {
  // The shifted box with a pixel to spare on each side.
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
  cairo_set_tolerance(mc, cairo_get_tolerance(cr));
  cairo_set_line_cap(mc, cairo_get_line_cap(cr));
  cairo_set_line_join(mc, cairo_get_line_join(cr));
  cairo_set_miter_limit(mc, cairo_get_miter_limit(cr));
  if (cut) {
    cairo_matrix_t to = cut->to_device;
    to.x0 -= x0;
    to.y0 -= y0;
    cairo_set_matrix(mc, &to);
    cairo_set_antialias(mc, cut->antialias);
    ellipse_path(mc, cut->cx - cut->rx, cut->cy - cut->ry, 2 * cut->rx, 2 * cut->ry);
    cairo_clip(mc);
  }
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  m.x0 += tx - x0;
  m.y0 += ty - y0;
  cairo_set_matrix(mc, &m);
  cairo_set_antialias(mc, cairo_get_antialias(cr));
  trace(mc, s);
  if (s.outline) {
    cairo_set_line_width(mc, s.pen);
    cairo_stroke(mc);
  } else {
    cairo_fill(mc);
  }
  bool drawn = cairo_status(mc) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(mc);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  if (!drawn) coverage.mask.reset();
  return coverage;
}

void ShapeCache::blend(cairo_t *cr, pixman_image_t *target, const Coverage &coverage, int wx,
                       int wy, const Colour &c) {
  pixman_color_t premultiplied{channel(c.r * c.a), channel(c.g * c.a), channel(c.b * c.a),
                               channel(c.a)};
  pixman_image_t *source = pixman_image_create_solid_fill(&premultiplied);
  if (!source) return;
  pixman_image_t *mask = coverage.mask.get();
  int x = wx + coverage.dx, y = wy + coverage.dy;
  int width = pixman_image_get_width(mask), height = pixman_image_get_height(mask);
  cairo_surface_t *surface = cairo_get_target(cr);
  cairo_surface_flush(surface);
  pixman_image_composite32(PIXMAN_OP_OVER, source, mask, target, 0, 0, 0, 0, x, y, width, height);
  cairo_surface_mark_dirty_rectangle(surface, x, y, width, height);
  pixman_image_unref(source);
}

}  // namespace platform::cairo_shapes
