#include "host/render/render_cli.h"

#include <filesystem>

#include "host/render/render_bitmap.h"

namespace z480 {

const char *const kDrawingLeftOut = "";

int list_bitmaps(Module &module, const std::string &write_dir, std::ostream &out,
                 std::ostream &err) {
  int status = 0;
  for (std::uint32_t id : bitmap_ids(module.handle())) {
    auto pixels = load_bitmap(module.handle(), id);
    if (!pixels) {
      err << "z480-panel: bitmap " << id << " cannot be read\n";
      status = 1;
      continue;
    }
    out << id << " " << pixels->width << " " << pixels->height << "\n";
    if (write_dir.empty()) continue;
    cairo_surface_t *surface = to_surface(*pixels, true);
    std::string path = (std::filesystem::path(write_dir) / (std::to_string(id) + ".png")).string();
    if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
      err << "z480-panel: cannot write " << path << "\n";
      status = 1;
    }
    cairo_surface_destroy(surface);
  }
  return status;
}

}  // namespace z480
