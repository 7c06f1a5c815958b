// The drawing subcommands of z480-panel.
#pragma once

#include <ostream>
#include <string>

#include "host/module.h"

namespace z480 {

// `bitmaps [--write DIR]`: every BITMAP resource of the module as
// "ID WIDTH HEIGHT", one a line; with DIR also each as DIR/ID.png (black
// transparent, as the host draws them). Returns the exit code.
int list_bitmaps(Module &module, const std::string &write_dir, std::ostream &out,
                 std::ostream &err);

}  // namespace z480
