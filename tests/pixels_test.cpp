// The pixels the host lends an element: read back as plain colours, and
// written as a BMP file whose rows, colours and padding a viewer takes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/core/pixels.h"

namespace z480 {
namespace {

std::uint32_t u32(const std::string &b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

TEST(ElementPixels, StartOpaqueBlackAndReadUnpremultiplied) {
  auto p = make_element_pixels({3, 2});
  ASSERT_TRUE(p);
  EXPECT_EQ(p->image.image, reinterpret_cast<char *>(p->words.data()));
  EXPECT_EQ(*p->pixel(2, 1), 0xFF000000u);
  p->words[1] = 0x80400000u;  // half-covered red, premultiplied
  EXPECT_EQ(*p->pixel(1, 0), 0x80800000u);
  EXPECT_FALSE(p->pixel(3, 0));
  EXPECT_FALSE(p->pixel(0, -1));
}

TEST(ElementPixels, BmpHasBottomUpPaddedRowsOfBlueGreenRed) {
  auto p = make_element_pixels({3, 2});
  ASSERT_TRUE(p);
  p->words[0] = 0xFFFF0000u;      // top left red
  p->words[3 + 2] = 0xFF0000FFu;  // bottom right blue
  std::string file = (std::filesystem::temp_directory_path() / "z480_pixels_test.bmp").string();
  std::string error;
  ASSERT_TRUE(write_bmp(*p, file, &error)) << error;
  std::ifstream in(file, std::ios::binary);
  std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(file);
  const std::size_t row = 12;  // 9 bytes padded to 4
  ASSERT_EQ(b.size(), 54 + 2 * row);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(u32(b, 2), b.size());
  EXPECT_EQ(u32(b, 10), 54u);
  EXPECT_EQ(u32(b, 18), 3u);
  EXPECT_EQ(u32(b, 22), 2u);  // positive: bottom row first
  // The bottom row first: blue in its last pixel, then the padding.
  EXPECT_EQ(b.substr(54 + 6, 3), std::string("\xFF\x00\x00", 3));
  EXPECT_EQ(b.substr(54 + 9, 3), std::string(3, '\0'));
  EXPECT_EQ(b.substr(54 + row, 3), std::string("\x00\x00\xFF", 3));
  EXPECT_FALSE(write_bmp(*p, "/nonexistent-dir/x.bmp", &error));
  EXPECT_NE(error.find("/nonexistent-dir/x.bmp"), std::string::npos);
}

}  // namespace
}  // namespace z480
