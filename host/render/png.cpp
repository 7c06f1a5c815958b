#include <cairo.h>

#include "host/render/png.h"

namespace z480 {

bool write_png(const ElementPixels &pixels, const std::string &path, std::string *error) {
  auto *data = reinterpret_cast<unsigned char *>(pixels.words.data());
  cairo_surface_t *surface = cairo_image_surface_create_for_data(
      data, CAIRO_FORMAT_ARGB32, pixels.width, pixels.height, pixels.width * 4);
  cairo_status_t status = cairo_surface_status(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status == CAIRO_STATUS_SUCCESS) return true;
  *error = "cannot write " + path + ": " + cairo_status_to_string(status);
  return false;
}

std::optional<Pixels> read_png(const std::string &path) {
  cairo_surface_t *surface = cairo_image_surface_create_from_png(path.c_str());
  std::optional<Pixels> picture;
  cairo_format_t format = cairo_image_surface_get_format(surface);
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
      (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24)) {
    picture.emplace();
    picture->width = cairo_image_surface_get_width(surface);
    picture->height = cairo_image_surface_get_height(surface);
    cairo_surface_flush(surface);
    const unsigned char *data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    // The pictures the host draws are opaque: colour without alpha.
    for (int y = 0; y < picture->height; ++y) {
      const auto *row =
          reinterpret_cast<const std::uint32_t *>(data + static_cast<std::ptrdiff_t>(y) * stride);
      for (int x = 0; x < picture->width; ++x) picture->rgb.push_back(row[x] & 0xFFFFFF);
    }
  }
  cairo_surface_destroy(surface);
  return picture;
}

}  // namespace z480
