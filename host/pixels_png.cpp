#include <cairo.h>

#include "host/pixels.h"

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

}  // namespace z480
