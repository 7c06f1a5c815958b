#include "host/core/pixels.h"

#include <cstring>
#include <fstream>

#include "host/core/instance.h"
#include "platform/resources.h"

namespace z480 {
namespace {

constexpr std::int32_t kImageFormat32Alpha = 7;
constexpr std::int32_t kLargestSide = 4096;

std::int32_t read_i32(const std::uint8_t *p) {
  return static_cast<std::int32_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                   std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
}
std::int32_t read_u16(const std::uint8_t *p) { return p[0] | p[1] << 8; }

}  // namespace

std::optional<std::uint32_t> ElementPixels::pixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
  std::uint32_t v = words[static_cast<std::size_t>(y) * width + x];
  if (!dc->alpha_kept()) return 0xFF000000u | v;
  std::uint32_t a = v >> 24;
  auto channel = [a](std::uint32_t c) { return a ? (c * 255 + a / 2) / a : 0u; };
  return a << 24 | channel((v >> 16) & 0xFF) << 16 | channel((v >> 8) & 0xFF) << 8 |
         channel(v & 0xFF);
}

std::unique_ptr<ElementPixels> make_element_pixels(PixPoint size) {
  auto dc = make_element_dc(size);
  if (!dc) return nullptr;
  auto p = std::make_unique<ElementPixels>();
  p->width = size.x;
  p->height = size.y;
  p->words = dc->words();
  p->dc = std::move(dc);
  p->image.format_and_flags = kImageFormat32Alpha;
  p->image.dim = size;
  p->image.pitch = static_cast<std::uint32_t>(size.x * 4);
  p->image.len = static_cast<std::uint32_t>(p->words.size() * 4);
  p->image.image = reinterpret_cast<char *>(p->words.data());
  return p;
}

std::optional<PixPoint> bitmap_size(void *module, std::int32_t bitmap) {
  if (bitmap <= 0) return std::nullopt;
  auto data = platform::find_resource(module, "BITMAP", static_cast<std::uint32_t>(bitmap));
  if (!data) return std::nullopt;
  std::span<const std::uint8_t> b = *data;
  // A file carries a 14-byte file header before the bitmap's own.
  std::size_t at = b.size() >= 2 && b[0] == 'B' && b[1] == 'M' ? 14 : 0;
  if (b.size() < at + 12) return std::nullopt;
  std::int32_t header = read_i32(&b[at]);
  PixPoint size{};
  if (header == 12) {  // the old core header: 16-bit sides
    size = {read_u16(&b[at + 4]), read_u16(&b[at + 6])};
  } else if (header >= 40 && b.size() >= at + 12) {
    std::int32_t height = read_i32(&b[at + 8]);
    // A negative height means rows top down; the size is the same.
    size = {read_i32(&b[at + 4]), height == INT32_MIN ? 0 : (height < 0 ? -height : height)};
  }
  if (size.x < 1 || size.y < 1 || size.x > kLargestSide || size.y > kLargestSide)
    return std::nullopt;
  return size;
}

void give_element_pixels(Instance &inst, void *module) {
  const auto &elements = inst.elements();
  for (std::size_t i = 0; i < elements.size(); ++i) {
    GaugeElement *e = elements[i];
    if (e->element_type != kStaticImage ||
        !(static_cast<std::uint32_t>(e->image_flags) & kImageCreateDibSection))
      continue;
    auto size = bitmap_size(module, e->resource_id);
    if (!size) continue;
    auto pixels = make_element_pixels(*size);
    if (!pixels) continue;
    auto *image = reinterpret_cast<StaticImageElement *>(e);
    image->hdc = pixels->dc->dc();
    image->image_data.final_image = &pixels->image;
    inst.give_pixels(i, std::move(pixels));
  }
}

bool write_bmp(const ElementPixels &pixels, const std::string &path, std::string *error) {
  // Rows bottom up, three bytes a pixel (blue, green, red), each row padded
  // to four bytes; the headers' numbers little-endian.
  const std::uint32_t row = (static_cast<std::uint32_t>(pixels.width) * 3 + 3) & ~3u;
  const std::uint32_t data = row * static_cast<std::uint32_t>(pixels.height);
  std::string file;
  auto put = [&file](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file += static_cast<char>(v >> (8 * i) & 0xFF);
  };
  file += "BM";
  put(54 + data, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(pixels.width), 4);
  put(static_cast<std::uint32_t>(pixels.height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(data, 4);
  put(2835, 4);  // 72 dots an inch
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (std::int32_t y = pixels.height - 1; y >= 0; --y) {
    for (std::int32_t x = 0; x < pixels.width; ++x) put(*pixels.pixel(x, y) & 0xFFFFFF, 3);
    file.append(row - static_cast<std::uint32_t>(pixels.width) * 3, '\0');
  }
  std::ofstream out(path, std::ios::binary);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  out.close();
  if (out) return true;
  *error = "cannot write " + path;
  return false;
}

}  // namespace z480
