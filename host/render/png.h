// Element pixels as PNG files, through cairo (a build without it answers
// these from host/script/left_out_win32.cpp).
#pragma once

#include <optional>
#include <string>

#include "host/core/pixels.h"

namespace z480 {

// Writes the buffer as a PNG file; false with a reason when it cannot (a
// build without cairo says so).
bool write_png(const ElementPixels &pixels, const std::string &path, std::string *error);
// A PNG file read back as opaque pixels (a build without cairo throws);
// nothing when it cannot be read.
std::optional<Pixels> read_png(const std::string &path);

}  // namespace z480
