// Bitmaps as the module carries them: BITMAP resources hold a device-
// independent bitmap, a 40-byte information header and then the rows of
// pixels, bottom row first, each padded to four bytes (a .bmp file is the
// same after its 14-byte file header).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace z480 {

// Pixels top row first, each 0x00RRGGBB.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;

  std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
};

// Reads a 24- or 32-bit uncompressed bitmap; nothing for anything else or for
// data that does not hold the rows its header promises.
std::optional<Pixels> decode_dib(std::span<const std::uint8_t> bytes);
// Writes a 24-bit bitmap, bottom row first.
std::vector<std::uint8_t> encode_dib(const Pixels &pixels);
// The same bitmap as a .bmp file.
std::vector<std::uint8_t> bmp_file(std::span<const std::uint8_t> dib);

}  // namespace z480
