// Pixel buffers the host gives to elements that draw for themselves: an
// element whose image flags ask for a DIB section gets, as the real host
// gives it a device context and a bitmap, a buffer of its bitmap's size
// owned by the instance. The element's device context (host/core/element_dc.h)
// and its final image both point at it, so what the module draws there is
// what the host shows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "frame/panel.h"
#include "host/core/element_dc.h"
#include "host/util/dib.h"

namespace z480 {

class Instance;

struct ElementPixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::unique_ptr<ElementDc> dc;
  std::span<std::uint32_t> words;  // row by row, as the device context keeps them
  HostImage image{};

  // The colour at a pixel as 0xAARRGGBB, not premultiplied; nothing off
  // the buffer.
  std::optional<std::uint32_t> pixel(std::int32_t x, std::int32_t y) const;
};

// An opaque black buffer of that size; null when the system refuses one.
std::unique_ptr<ElementPixels> make_element_pixels(PixPoint size);

// The width and height of a bitmap resource of the module, from its header
// (with or without the file header); nothing when it is missing or unread.
std::optional<PixPoint> bitmap_size(void *module, std::int32_t bitmap);

// Gives every element that asks for a DIB section and whose bitmap the
// module carries its own buffer.
void give_element_pixels(Instance &inst, void *module);

// Writes the buffer as a 24-bit BMP file; false with a reason when it cannot.
bool write_bmp(const ElementPixels &pixels, const std::string &path, std::string *error);

}  // namespace z480
