#include "host/util/dib.h"

namespace z480 {
namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::int64_t kMaxPixels = 1 << 24;

std::uint32_t read32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t read16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
void put32(std::vector<std::uint8_t> &out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(std::vector<std::uint8_t> &out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

std::optional<Pixels> decode_dib(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kInfoHeaderSize) return std::nullopt;
  std::uint32_t header = read32(bytes, 0);
  auto width = static_cast<std::int32_t>(read32(bytes, 4));
  auto height = static_cast<std::int32_t>(read32(bytes, 8));
  std::uint16_t planes = read16(bytes, 12);
  std::uint16_t bits = read16(bytes, 14);
  std::uint32_t compression = read32(bytes, 16);
  std::uint32_t colours = read32(bytes, 32);
  if (header < kInfoHeaderSize || header > bytes.size() || planes != 1 ||
      (bits != 24 && bits != 32) || compression != 0)
    return std::nullopt;
  bool top_down = height < 0;
  std::int64_t rows = top_down ? -static_cast<std::int64_t>(height) : height;
  if (width <= 0 || rows <= 0 || width * rows > kMaxPixels) return std::nullopt;
  std::size_t bytes_per_pixel = bits / 8;
  std::size_t stride = (static_cast<std::size_t>(width) * bytes_per_pixel + 3) & ~std::size_t{3};
  std::size_t start = header + std::size_t{colours} * 4;
  if (colours > 256 || start > bytes.size() ||
      (bytes.size() - start) / stride < static_cast<std::size_t>(rows))
    return std::nullopt;
  Pixels p;
  p.width = width;
  p.height = static_cast<int>(rows);
  p.rgb.resize(static_cast<std::size_t>(width) * p.height);
  for (int y = 0; y < p.height; ++y) {
    std::size_t row = start + stride * static_cast<std::size_t>(top_down ? y : p.height - 1 - y);
    for (int x = 0; x < width; ++x) {
      std::size_t at = row + static_cast<std::size_t>(x) * bytes_per_pixel;
      p.rgb[static_cast<std::size_t>(y) * width + x] =
          bytes[at] | bytes[at + 1] << 8 | static_cast<std::uint32_t>(bytes[at + 2]) << 16;
    }
  }
  return p;
}

std::vector<std::uint8_t> encode_dib(const Pixels &p) {
  std::size_t stride = (static_cast<std::size_t>(p.width) * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> out;
  out.reserve(kInfoHeaderSize + stride * p.height);
  put32(out, kInfoHeaderSize);
  put32(out, static_cast<std::uint32_t>(p.width));
  put32(out, static_cast<std::uint32_t>(p.height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // uncompressed
  put32(out, static_cast<std::uint32_t>(stride * p.height));
  put32(out, 2835);  // 72 dots per inch
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    std::size_t begin = out.size();
    for (int x = 0; x < p.width; ++x) {
      std::uint32_t c = p.at(x, y);
      out.push_back(static_cast<std::uint8_t>(c));
      out.push_back(static_cast<std::uint8_t>(c >> 8));
      out.push_back(static_cast<std::uint8_t>(c >> 16));
    }
    out.resize(begin + stride, 0);
  }
  return out;
}

std::vector<std::uint8_t> bmp_file(std::span<const std::uint8_t> dib) {
  std::vector<std::uint8_t> out{'B', 'M'};
  put32(out, static_cast<std::uint32_t>(kFileHeaderSize + dib.size()));
  put32(out, 0);
  put32(out, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize));
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

}  // namespace z480
