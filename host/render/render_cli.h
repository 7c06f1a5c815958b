// The drawing subcommands of z480-panel. A build without cairo (the Windows
// host) has them all the same and says that it draws nothing.
#pragma once

#include <ostream>
#include <string>

#include "host/core/module.h"

namespace z480 {

// `bitmaps [--write DIR]`: every BITMAP resource of the module as
// "ID WIDTH HEIGHT", one a line; with DIR also each as DIR/ID.png (black
// transparent, as the host draws them). Returns the exit code.
int list_bitmaps(Module &module, const std::string &write_dir, std::ostream &out,
                 std::ostream &err);

// `sheet FILE.png`: every gauge of the module, one cell each under its name,
// after one frame. False with a reason when it cannot.
bool render_sheet(Module &module, const std::string &path, std::string *error);

// What this build cannot draw, for --help ("" when it draws everything).
extern const char *const kDrawingLeftOut;

}  // namespace z480
