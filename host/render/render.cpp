#include "host/render/render.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace z480 {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr std::pair<int, int> kMissingSize{100, 100};
constexpr double kLayoutPixelsPerMm = 2.0;
constexpr int kLayoutWidth = 1600;
constexpr int kLayoutGap = 8;

// Win32 DrawText flags a string element may carry.
constexpr std::uint32_t kTextCentre = 0x1, kTextRight = 0x2, kTextVCentre = 0x4, kTextBottom = 0x8;

void set_colorref(cairo_t *cr, std::uint32_t c) {
  cairo_set_source_rgb(cr, (c & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0, ((c >> 16) & 0xff) / 255.0);
}

int width_of(cairo_surface_t *s) { return cairo_image_surface_get_width(s); }
int height_of(cairo_surface_t *s) { return cairo_image_surface_get_height(s); }

// How far a strip slides on one axis: the minimum shows its first cell, the
// maximum its last.
double slide(double value, double min, double max, double travel) {
  if (travel <= 0 || max == min || !std::isfinite(value)) return 0;
  return std::clamp((value - min) / (max - min), 0.0, 1.0) * travel;
}

bool write_png(cairo_surface_t *surface, const std::string &path, std::string *error) {
  if (cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS) return true;
  *error = "cannot write " + path;
  return false;
}

// The pixels an element drew for itself, premultiplied ARGB as cairo keeps
// them.
void own_pixels(cairo_t *cr, const ElementPixels &p, double x, double y) {
  if (p.width <= 0 || p.height <= 0 ||
      p.words.size() < static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height))
    return;
  cairo_surface_t *s = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char *>(const_cast<std::uint32_t *>(p.words.data())),
      CAIRO_FORMAT_ARGB32, p.width, p.height, p.width * 4);
  cairo_set_source_surface(cr, s, x, y);
  cairo_paint(cr);
  cairo_surface_destroy(s);
}

}  // namespace

std::pair<int, int> Renderer::size(const Instance &inst) {
  if (inst.views().empty()) return kMissingSize;
  cairo_surface_t *s = bitmaps_.get(inst.views().front().bitmap, true);
  return s ? std::pair{width_of(s), height_of(s)} : kMissingSize;
}

void Renderer::draw(cairo_t *cr, const Instance &inst, double x, double y, double sx, double sy) {
  // A scale of 0 or no number would leave cairo in its error state, and
  // every later drawing of the picture lost with it.
  if (!(sx > 0 && sy > 0 && std::isfinite(sx) && std::isfinite(sy) && std::isfinite(x) &&
        std::isfinite(y)))
    return;
  sx_ = sx;
  sy_ = sy;
  auto [w, h] = size(inst);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, sx, sy);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_clip(cr);
  for (std::size_t i = 0; i < inst.views().size(); ++i) element(cr, inst, i);
  cairo_restore(cr);
}

void Renderer::element(cairo_t *cr, const Instance &inst, std::size_t index) {
  const ElementView &v = inst.views()[index];
  if ((v.flags & kImageHidden) || v.failure == kFailActionNoDraw) return;
  bool transparent = (v.flags & kImageUseTransparency) != 0;
  double x = v.position.x, y = v.position.y;
  switch (v.kind) {
    case kStaticImage:
      if (const ElementPixels *own = inst.pixels(index)) {
        own_pixels(cr, *own, x, y);
      } else {
        bitmap_at(cr, v.bitmap, transparent, x, y);
      }
      break;
    case kNeedle:
      needle(cr, v, transparent);
      break;
    case kSlider:
      bitmap_at(cr, v.bitmap, transparent, x + v.x, y + v.y);
      break;
    case kIcon:
      if (v.image >= 0) bitmap_at(cr, v.bitmap + v.image, transparent, x, y);
      break;
    case kMovingImage:
      moving_image(cr, v, transparent);
      break;
    case kSprite:
      sprite(cr, v, transparent);
      break;
    case kString:
      text(cr, v);
      break;
    default:
      break;
  }
  if (v.failure == kFailActionCover) {
    cairo_surface_t *s = bitmaps_.get(v.kind == kMovingImage || v.kind == kSprite ? v.bitmap + 1 : v.bitmap, true);
    double w = s ? width_of(s) : v.box.x, h = s ? height_of(s) : v.box.y;
    if (v.kind == kNeedle) {
      double r = std::max(w, h);
      cover(cr, x - r, y - r, 2 * r, 2 * r);
    } else {
      cover(cr, x, y, w, h);
    }
  }
}

// From the bitmap resampled to the instance's scale where there is one: the
// same picture as the full bitmap scaled while drawing, at a fraction of the
// cost.
void Renderer::bitmap_at(cairo_t *cr, std::int32_t id, bool transparent, double x, double y) {
  if (cairo_surface_t *s = bitmaps_.scaled(id, transparent, sx_, sy_)) {
    cairo_save(cr);
    cairo_scale(cr, 1 / sx_, 1 / sy_);
    cairo_set_source_surface(cr, s, x * sx_, y * sy_);
    cairo_paint(cr);
    cairo_restore(cr);
  } else if (cairo_surface_t *full = bitmaps_.get(id, transparent)) {
    cairo_set_source_surface(cr, full, x, y);
    cairo_paint(cr);
  } else {
    missing(cr, id, x, y, 32, 32);
  }
}

// Turned about its pivot; a resampled needle only where the scale is the
// same both ways, since turning does not commute with stretching.
void Renderer::needle(cairo_t *cr, const ElementView &v, bool transparent) {
  cairo_surface_t *full = bitmaps_.get(v.bitmap, transparent);
  if (!full) return missing(cr, v.bitmap, v.position.x - 8, v.position.y - 8, 16, 16);
  cairo_surface_t *s = uniform() ? bitmaps_.scaled(v.bitmap, transparent, sx_, sy_) : nullptr;
  double turn = (v.needle - (v.table ? 90.0 : 0.0)) * kDegree;
  cairo_save(cr);
  cairo_translate(cr, v.position.x, v.position.y);
  if (s) {
    cairo_scale(cr, 1 / sx_, 1 / sy_);
    cairo_rotate(cr, turn);
    cairo_set_source_surface(cr, s, -v.ofs.x * sx_, -v.ofs.y * sy_);
  } else {
    cairo_rotate(cr, turn);
    cairo_set_source_surface(cr, full, -v.ofs.x, -v.ofs.y);
  }
  cairo_paint(cr);
  cairo_restore(cr);
}

// Magenta and black, crossed, with the id: no one takes it for artwork.
void Renderer::missing(cairo_t *cr, std::int32_t id, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_set_source_rgb(cr, 1, 0, 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + w, y + h);
  cairo_move_to(cr, x + w, y);
  cairo_line_to(cr, x, y + h);
  cairo_stroke(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, std::clamp(h / 3, 6.0, 14.0));
  std::string label = std::to_string(id) + "?";
  cairo_move_to(cr, x + 2, y + std::clamp(h / 3, 6.0, 14.0));
  cairo_show_text(cr, label.c_str());
  cairo_restore(cr);
}

void Renderer::moving_image(cairo_t *cr, const ElementView &v, bool transparent) {
  cairo_surface_t *strip = bitmaps_.get(v.bitmap, transparent);
  cairo_surface_t *mask = bitmaps_.get(v.bitmap + 1, true);
  if (!strip || !mask) {
    missing(cr, strip ? v.bitmap + 1 : v.bitmap, v.position.x, v.position.y, 16, 16);
    return;
  }
  double dx = slide(v.x, v.min_x, v.max_x, width_of(strip) - width_of(mask));
  double dy = slide(v.y, v.min_y, v.max_y, height_of(strip) - height_of(mask));
  cairo_surface_t *small_strip = bitmaps_.scaled(v.bitmap, transparent, sx_, sy_);
  cairo_surface_t *small_mask = small_strip ? bitmaps_.scaled(v.bitmap + 1, true, sx_, sy_) : nullptr;
  cairo_save(cr);
  if (small_mask) {
    cairo_scale(cr, 1 / sx_, 1 / sy_);
    cairo_translate(cr, v.position.x * sx_, v.position.y * sy_);
    cairo_set_source_surface(cr, small_strip, -dx * sx_, -dy * sy_);
    cairo_mask_surface(cr, small_mask, 0, 0);
  } else {
    cairo_translate(cr, v.position.x, v.position.y);
    cairo_set_source_surface(cr, strip, -dx, -dy);
    cairo_mask_surface(cr, mask, 0, 0);
  }
  cairo_restore(cr);
}

void Renderer::sprite(cairo_t *cr, const ElementView &v, bool transparent) {
  cairo_surface_t *texture = bitmaps_.get(v.bitmap, transparent);
  cairo_surface_t *mask = bitmaps_.get(v.bitmap + 1, true);
  if (!texture || !mask) {
    missing(cr, texture ? v.bitmap + 1 : v.bitmap, v.position.x, v.position.y, 16, 16);
    return;
  }
  // A transform that is no number, or flattens the texture, would put the
  // whole picture into cairo's error state.
  for (double d : {v.x, v.y, v.angle, v.texture_scale_x, v.texture_scale_y})
    if (!std::isfinite(d)) return;
  if (v.texture_scale_x == 0 || v.texture_scale_y == 0) return;
  // Resampled texture and mask where the scale is the same both ways, drawn
  // in screen pixels.
  cairo_surface_t *small_texture = uniform() ? bitmaps_.scaled(v.bitmap, transparent, sx_, sy_) : nullptr;
  cairo_surface_t *small_mask = small_texture ? bitmaps_.scaled(v.bitmap + 1, true, sx_, sy_) : nullptr;
  double s = small_mask ? sx_ : 1.0;
  cairo_push_group(cr);
  if (small_mask) cairo_scale(cr, 1 / sx_, 1 / sy_);
  cairo_translate(cr, v.ofs.x * s, v.ofs.y * s);
  cairo_rotate(cr, -v.angle * kDegree);
  cairo_translate(cr, -v.x * s, -v.y * s);
  cairo_scale(cr, v.texture_scale_x, v.texture_scale_y);
  cairo_set_source_surface(cr, small_mask ? small_texture : texture, -width_of(texture) * s / 2.0,
                           -height_of(texture) * s / 2.0);
  cairo_paint(cr);
  cairo_pop_group_to_source(cr);
  if (small_mask) {
    cairo_save(cr);
    cairo_scale(cr, 1 / sx_, 1 / sy_);
    cairo_mask_surface(cr, small_mask, v.position.x * sx_, v.position.y * sy_);
    cairo_restore(cr);
  } else {
    cairo_mask_surface(cr, mask, v.position.x, v.position.y);
  }
}

void Renderer::text(cairo_t *cr, const ElementView &v) {
  if (v.box.x <= 0 || v.box.y <= 0) return;
  double x = v.position.x, y = v.position.y, w = v.box.x, h = v.box.y;
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  if (v.background_color != 0 || !(v.flags & kImageUseTransparency)) {
    set_colorref(cr, v.background_color);
    cairo_paint(cr);
  }
  cairo_select_font_face(cr, v.font.empty() ? "DejaVu Sans" : v.font.c_str(),
                         CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, h * 0.75);
  cairo_text_extents_t e;
  cairo_text_extents(cr, v.text.c_str(), &e);
  double tx = v.draw_text_flags & kTextCentre  ? x + (w - e.x_advance) / 2
              : v.draw_text_flags & kTextRight ? x + w - e.x_advance
                                               : x;
  double ty = v.draw_text_flags & kTextVCentre  ? y + (h - e.height) / 2 - e.y_bearing
              : v.draw_text_flags & kTextBottom ? y + h - (e.height + e.y_bearing)
                                                : y - e.y_bearing;
  set_colorref(cr, v.text_color);
  cairo_move_to(cr, tx, ty);
  cairo_show_text(cr, v.text.c_str());
  cairo_restore(cr);
}

// The host's cover over a failed element: a grey plate, hatched.
void Renderer::cover(cairo_t *cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.35, 0.35, 0.36);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.22, 0.22, 0.23);
  cairo_set_line_width(cr, 3);
  for (double d = -h; d < w; d += 10) {
    cairo_move_to(cr, x + d, y + h);
    cairo_line_to(cr, x + d + h, y);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
}

namespace {

struct Placed {
  const Instance *inst;
  double x, y, sx, sy;
};

// What lies under the gauges: the window's colour, and over it the window's
// bitmap stretched to the window's own size.
struct Backdrop {
  std::uint32_t colour = 0;
  const Pixels *image = nullptr;
  int width = 0, height = 0;
};

void paint_backdrop(cairo_t *cr, const Backdrop &b) {
  cairo_set_source_rgb(cr, ((b.colour >> 16) & 0xff) / 255.0, ((b.colour >> 8) & 0xff) / 255.0,
                       (b.colour & 0xff) / 255.0);
  cairo_paint(cr);
  if (!b.image || b.image->width <= 0 || b.image->height <= 0 || b.width <= 0 || b.height <= 0) return;
  cairo_surface_t *s = to_surface(*b.image, false);
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, b.width, b.height);
  cairo_clip(cr);
  cairo_scale(cr, static_cast<double>(b.width) / b.image->width,
              static_cast<double>(b.height) / b.image->height);
  cairo_set_source_surface(cr, s, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  // The edge pixels reach to the window's edge, not fade into the colour.
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(s);
}

cairo_status_t append_png(void *closure, const unsigned char *data, unsigned int length) {
  static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// To the file at path, or (png given) into png.
bool paint(Renderer &renderer, int width, int height, const Backdrop &backdrop,
           const std::vector<Placed> &placed, const std::string &path, std::string *png,
           std::string *error) {
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, width), std::max(1, height));
  cairo_t *cr = cairo_create(surface);
  paint_backdrop(cr, backdrop);
  for (const Placed &p : placed) renderer.draw(cr, *p.inst, p.x, p.y, p.sx, p.sy);
  cairo_destroy(cr);
  bool ok = true;
  if (!png) {
    ok = write_png(surface, path, error);
  } else if (cairo_surface_write_to_png_stream(surface, append_png, png) != CAIRO_STATUS_SUCCESS) {
    *error = "cannot encode the picture";
    ok = false;
  }
  cairo_surface_destroy(surface);
  return ok;
}

constexpr std::uint32_t kPanelGrey = 0x3a3d40;
constexpr int kMaxPicture = 8192;

}  // namespace

std::optional<WindowBox> window_box(Renderer &renderer, const Instance &inst) {
  const auto &p = inst.placement();
  if (!p) return std::nullopt;
  auto [w, h] = renderer.size(inst);
  double sx = p->width > 0 ? static_cast<double>(p->width) / w : 1.0;
  double sy = p->height ? static_cast<double>(*p->height) / h : sx;
  return WindowBox{static_cast<double>(p->x), static_cast<double>(p->y), sx, sy, w * sx, h * sy};
}

namespace {
bool render_picture(Host &host, Renderer &renderer, const std::string &path, std::string *png,
                    std::optional<std::uint32_t> window, std::string *error);
}  // namespace

bool render_png(Host &host, const std::string &path, std::optional<std::uint32_t> window,
                std::string *error) {
  Renderer renderer(host.module().handle());
  return render_png(host, renderer, path, window, error);
}

bool render_png(Host &host, Renderer &renderer, const std::string &path,
                std::optional<std::uint32_t> window, std::string *error) {
  return render_picture(host, renderer, path, nullptr, window, error);
}

bool render_png_bytes(Host &host, Renderer &renderer, std::string *png,
                      std::optional<std::uint32_t> window, std::string *error) {
  return render_picture(host, renderer, "", png, window, error);
}

namespace {

bool render_picture(Host &host, Renderer &renderer, const std::string &path, std::string *png,
                    std::optional<std::uint32_t> window, std::string *error) {
  std::vector<Placed> placed;
  int width = 0, height = 0;
  Backdrop backdrop{kPanelGrey};
  if (window) {
    const PanelWindowConfig *config = nullptr;
    for (const PanelWindowConfig &w : host.panel_windows())
      if (w.ident == *window) config = &w;
    if (!config) {
      *error = "the panel has no window " + std::to_string(*window);
      return false;
    }
    if (!host.window_shown(*window)) {
      *error = "window " + std::to_string(*window) + " is closed: its gauges neither update nor draw";
      return false;
    }
    // Without size_mm the bitmap's own pixels are the window's units.
    const Pixels *image = config->background.get();
    width = config->width > 0 ? config->width : image ? image->width : 0;
    height = config->height > 0 ? config->height : image ? image->height : 0;
    backdrop = {config->background_color.value_or(kPanelGrey), image, width, height};
    for (const auto &inst : host.instances()) {
      const auto &p = inst->placement();
      if (!p || p->window != *window) continue;
      WindowBox b = *window_box(renderer, *inst);
      placed.push_back({inst.get(), b.x, b.y, b.sx, b.sy});
      width = std::max(width, static_cast<int>(std::ceil(b.x + b.width)));
      height = std::max(height, static_cast<int>(std::ceil(b.y + b.height)));
    }
  } else {
    double x = kLayoutGap, y = kLayoutGap, row = 0;
    for (const auto &inst : host.instances()) {
      auto [w, h] = renderer.size(*inst);
      double s = inst->header()->size_x_mm * kLayoutPixelsPerMm / w;
      if (!(s > 0)) s = 1;
      if (x + w * s > kLayoutWidth && x > kLayoutGap) {
        x = kLayoutGap;
        y += row + kLayoutGap;
        row = 0;
      }
      placed.push_back({inst.get(), x, y, s, s});
      x += w * s + kLayoutGap;
      row = std::max(row, h * s);
      width = std::max(width, static_cast<int>(std::ceil(x)));
    }
    height = static_cast<int>(std::ceil(y + row + kLayoutGap));
  }
  if (width > kMaxPicture || height > kMaxPicture) {
    *error = "the picture would be larger than " + std::to_string(kMaxPicture) + " pixels";
    return false;
  }
  return paint(renderer, width, height, backdrop, placed, path, png, error);
}

}  // namespace

bool render_sheet(Module &module, const std::string &path, std::string *error) {
  constexpr int kCell = 240, kPicture = 216, kColumns = 8, kLabel = 18;
  Host host(module);
  for (GaugeHeader *g : module.linkage().gauge_header_ptr) {
    if (!g) break;
    std::string reason;
    if (!host.place(g->gauge_name, g->gauge_name, std::nullopt, &reason)) {
      *error = reason;
      return false;
    }
  }
  host.frame();
  Renderer renderer(module.handle());
  std::vector<Placed> placed;
  int n = 0;
  for (const auto &inst : host.instances()) {
    auto [w, h] = renderer.size(*inst);
    double s = std::min(1.0, std::min(static_cast<double>(kPicture) / w, static_cast<double>(kPicture) / h));
    double cx = (n % kColumns) * kCell, cy = (n / kColumns) * (kCell + kLabel);
    placed.push_back({inst.get(), cx + (kCell - w * s) / 2, cy + kLabel + (kPicture - h * s) / 2, s, s});
    ++n;
  }
  int rows = (n + kColumns - 1) / kColumns;
  int width = kColumns * kCell, height = rows * (kCell + kLabel);
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t *cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0.23, 0.24, 0.25);
  cairo_paint(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 12);
  for (int i = 0; i < n; ++i) {
    double cx = (i % kColumns) * kCell, cy = (i / kColumns) * (kCell + kLabel);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
    cairo_move_to(cr, cx + 6, cy + 14);
    cairo_show_text(cr, placed[static_cast<std::size_t>(i)].inst->alias().c_str());
    renderer.draw(cr, *placed[static_cast<std::size_t>(i)].inst, placed[static_cast<std::size_t>(i)].x,
                  placed[static_cast<std::size_t>(i)].y, placed[static_cast<std::size_t>(i)].sx,
                  placed[static_cast<std::size_t>(i)].sy);
  }
  cairo_destroy(cr);
  bool ok = write_png(surface, path, error);
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace z480
