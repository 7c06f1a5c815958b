// The module's bitmaps, read from its BITMAP resources and kept as cairo
// surfaces for the renderer.
#pragma once

#include <cairo.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "host/util/dib.h"

namespace z480 {

// Every BITMAP resource id of the module, in order.
std::vector<std::uint32_t> bitmap_ids(void *module);
// The bitmap of that id, or nothing when the module carries none or it cannot
// be read.
std::optional<Pixels> load_bitmap(void *module, std::uint32_t id);
// A cairo surface of the pixels (ARGB32); pure black becomes transparent when
// asked. The caller owns the surface.
cairo_surface_t *to_surface(const Pixels &pixels, bool black_transparent);

class BitmapCache {
 public:
  explicit BitmapCache(void *module) : module_(module) {}
  ~BitmapCache();
  BitmapCache(const BitmapCache &) = delete;
  BitmapCache &operator=(const BitmapCache &) = delete;

  // The surface, owned by the cache; null when the module has no such bitmap.
  cairo_surface_t *get(std::int32_t id, bool black_transparent);
  // The bitmap resampled once to sx by sy screen pixels per bitmap pixel, so
  // that drawing it again costs a copy, not a filtered downscale; null when
  // there is no such bitmap or the scale would make it too large to keep.
  cairo_surface_t *scaled(std::int32_t id, bool black_transparent, double sx, double sy);

 private:
  void *module_;
  std::map<std::pair<std::int32_t, bool>, cairo_surface_t *> surfaces_;
  std::map<std::tuple<std::int32_t, bool, double, double>, cairo_surface_t *> scaled_;
};

}  // namespace z480
