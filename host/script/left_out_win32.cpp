// What the Windows build of the host leaves out, its commands saying so:
// everything that needs cairo, which the Windows target lacks (the renderer,
// PNG files, the gauge sheet), and the browser panel's server (cairo's
// pictures, and threads the target's runtime does not offer). Element pixels
// (the radar's screen, drawn by GDI+ into the device context the host lends
// it) are still read and written as BMP files.
#include <stdexcept>
#include <string>

#include "host/render/png.h"
#include "host/render/render_cli.h"
#include "host/script/script.h"
#include "host/serve/serve_cli.h"
#include "platform/resources.h"

namespace z480 {
namespace {

const char kNoPixelOutput[] =
    "pixel output is not available in this build (no cairo for Windows): ";

}  // namespace

void add_render_commands(ScriptTables &tables) {
  tables.commands["render"] = [](const ScriptLine &, Args &) -> Step {
    return [](ScriptRun &) {
      throw std::runtime_error(std::string(kNoPixelOutput) + "render draws nothing");
    };
  };
}

// JSBSim runs as a POSIX child process; the Windows host flies nothing.
void add_flight_commands(ScriptTables &tables) {
  auto left_out = [](const ScriptLine &, Args &) -> Step {
    return [](ScriptRun &) {
      throw std::runtime_error("the flight model is not available in the Windows build");
    };
  };
  tables.commands["flight"] = left_out;
  tables.expects["flight"] = left_out;
}

const char *const kDrawingLeftOut =
    " This Windows build has no pixel output: `render`, `sheet`, `bitmaps --write`, `serve`, "
    "PNG snapshots and `expect picture` report that they are not available; `snapshot ... "
    "FILE.bmp` saves what the module drew into an element's device context.";

bool write_png(const ElementPixels &, const std::string &path, std::string *error) {
  *error = kNoPixelOutput + path + " not written (snapshot to a .bmp file instead)";
  return false;
}

std::optional<Pixels> read_png(const std::string &path) {
  throw std::runtime_error(kNoPixelOutput + path + " not read");
}

bool render_sheet(Module &, const std::string &path, std::string *error) {
  *error = kNoPixelOutput + path + " not written";
  return false;
}

int list_bitmaps(Module &module, const std::string &write_dir, std::ostream &out,
                 std::ostream &err) {
  if (!write_dir.empty()) {
    err << "z480-panel: " << kNoPixelOutput << "bitmaps --write writes nothing\n";
    return 1;
  }
  int status = 0;
  for (const platform::ResourceEntry &e : platform::resource_directory(module.handle())) {
    if (std::string(e.type) != "BITMAP") continue;
    if (auto size = bitmap_size(module.handle(), static_cast<std::int32_t>(e.id))) {
      out << e.id << " " << size->x << " " << size->y << "\n";
    } else {
      err << "z480-panel: bitmap " << e.id << " cannot be read\n";
      status = 1;
    }
  }
  return status;
}

int serve(const ServeOptions &, std::ostream &, std::ostream &err) {
  err << "z480-panel: " << kNoPixelOutput << "the browser panel is not served\n";
  return 1;
}

}  // namespace z480
