#include "host/render/render_bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/resources.h"

namespace z480 {

std::vector<std::uint32_t> bitmap_ids(void *module) {
  std::vector<std::uint32_t> ids;
  for (const platform::ResourceEntry &e : platform::resource_directory(module))
    if (e.type && std::strcmp(e.type, "BITMAP") == 0) ids.push_back(e.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::optional<Pixels> load_bitmap(void *module, std::uint32_t id) {
  auto bytes = platform::find_resource(module, "BITMAP", id);
  if (!bytes) return std::nullopt;
  return decode_dib(*bytes);
}

cairo_surface_t *to_surface(const Pixels &p, bool black_transparent) {
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.width, p.height);
  cairo_surface_flush(s);
  unsigned char *data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < p.height; ++y) {
    auto *row = reinterpret_cast<std::uint32_t *>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < p.width; ++x) {
      std::uint32_t c = p.at(x, y);
      row[x] = black_transparent && c == 0 ? 0 : 0xff000000u | c;
    }
  }
  cairo_surface_mark_dirty(s);
  return s;
}

BitmapCache::~BitmapCache() {
  for (auto &[key, surface] : surfaces_)
    if (surface) cairo_surface_destroy(surface);
  for (auto &[key, surface] : scaled_)
    if (surface) cairo_surface_destroy(surface);
}

cairo_surface_t *BitmapCache::get(std::int32_t id, bool black_transparent) {
  auto key = std::make_pair(id, black_transparent);
  auto it = surfaces_.find(key);
  if (it != surfaces_.end()) return it->second;
  cairo_surface_t *surface = nullptr;
  if (id > 0)
    if (auto pixels = load_bitmap(module_, static_cast<std::uint32_t>(id)))
      surface = to_surface(*pixels, black_transparent);
  surfaces_[key] = surface;
  return surface;
}

cairo_surface_t *BitmapCache::scaled(std::int32_t id, bool black_transparent, double sx, double sy) {
  constexpr double kLargest = 4096;
  cairo_surface_t *full = get(id, black_transparent);
  if (!full || (sx == 1 && sy == 1)) return full;
  auto key = std::make_tuple(id, black_transparent, sx, sy);
  auto it = scaled_.find(key);
  if (it != scaled_.end()) return it->second;
  double w = std::ceil(cairo_image_surface_get_width(full) * sx);
  double h = std::ceil(cairo_image_surface_get_height(full) * sy);
  cairo_surface_t *surface = nullptr;
  if (w >= 1 && h >= 1 && w <= kLargest && h <= kLargest) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h));
    cairo_t *cr = cairo_create(surface);
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, full, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  scaled_[key] = surface;
  return surface;
}

}  // namespace z480
