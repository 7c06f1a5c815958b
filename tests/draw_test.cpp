// The drawing layer: object lifetimes and failures, transform order, text
// placement, font fallback and the clip, checked on real pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/draw_control.h"
#include "radar/draw.h"

namespace {

using namespace platform;

// A small device context and a started library.
struct Canvas {
  static constexpr int kSide = 64;
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kSide * kSide, 0);
  PixelContext dc{reinterpret_cast<std::uint8_t *>(pixels.data()), kSide, kSide, kSide * 4};
  std::uintptr_t token = draw_library_start();
  ~Canvas() { draw_library_stop(token); }
  std::uint32_t at(int x, int y) const { return pixels[y * kSide + x]; }
  bool inked(int x, int y) const { return (at(x, y) >> 24) != 0; }
  // The bounding box of every inked pixel: {x0, y0, x1, y1}, or x0 > x1 when none.
  std::array<int, 4> ink() const {
    std::array<int, 4> box{kSide, kSide, -1, -1};
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x)
        if (inked(x, y)) box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                                std::max(box[3], y)};
    return box;
  }
};

constexpr DrawColor kRed(255, 255, 0, 0);

TEST(DrawLayer, ObjectsFreeTheirHandlesOnceAndNothingOutlivesTheLibrary) {
  std::size_t before = draw_control::live_objects();
  {
    Canvas c;
    DrawSurface surface(&c.dc);
    DrawPen pen(kRed, 1.0f);
    DrawBrush brush(kRed);
    auto copy = brush.clone();
    DrawFont font(u"Courier New", 3.0f, kFontRegular, kUnitPoint);
    DrawPath path;
    EXPECT_TRUE(surface.has_handle());
    EXPECT_NE(copy->handle(), nullptr);
    EXPECT_NE(copy->handle(), brush.handle());
    EXPECT_NE(font.handle(), nullptr);
    EXPECT_GT(draw_control::live_objects(), before + 6);
  }
  EXPECT_EQ(draw_control::live_objects(), before);
}

TEST(DrawLayer, FailedCreationsLeaveNullHandlesThatLaterCallsIgnore) {
  Canvas c;
  DrawSurface surface(&c.dc);
  draw_control::fail_next_call();
  DrawPen pen(kRed, 1.0f);
  EXPECT_EQ(pen.handle(), nullptr);
  EXPECT_EQ(pen.last_status(), kDrawOutOfMemory);
  surface.draw_line(pen, {0, 0}, {63, 63});
  EXPECT_EQ(surface.last_status(), kDrawInvalidParameter);
  EXPECT_EQ(c.ink()[2], -1);

  // Without a live start nothing can be made.
  draw_library_stop(c.token);
  DrawBrush late(kRed);
  EXPECT_EQ(late.handle(), nullptr);
  EXPECT_EQ(late.last_status(), kDrawNotInitialized);
  c.token = draw_library_start();

  // A surface whose memory cannot be had is no surface at all.
  draw_control::fail_next_call();
  EXPECT_EQ(new DrawSurface(&c.dc), nullptr);

  // A device context that describes no pixels makes no graphics.
  PixelContext bad = c.dc;
  bad.stride = 3;
  DrawSurface none(&bad);
  EXPECT_FALSE(none.has_handle());
  none.fill_rect(DrawBrush(kRed), {0, 0, 10, 10});
  EXPECT_EQ(c.ink()[2], -1);
}

TEST(DrawLayer, ValuesThatAreNoNumbersAreRefusedAndTheSurfaceDrawsOn) {
  Canvas c;
  DrawSurface surface(&c.dc);
  DrawBrush brush(kRed);
  surface.fill_rect(brush, {NAN, 0, 10, 10});
  surface.scale(0.0f, 1.0f);  // singular
  surface.translate(INFINITY, 0);
  surface.draw_ellipse(DrawPen(kRed, 1.0f), {0, 0, 1e30f, 5});
  EXPECT_EQ(surface.last_status(), kDrawInvalidParameter);
  EXPECT_EQ(c.ink()[2], -1);
  surface.fill_rect(brush, {2, 2, 4, 4});
  EXPECT_EQ(c.ink(), (std::array<int, 4>{2, 2, 5, 5}));
  EXPECT_EQ(c.at(3, 3), 0xFFFF0000u);
}

TEST(DrawLayer, LaterTransformsActFirstOnAPoint) {
  Canvas c;
  DrawSurface surface(&c.dc);
  surface.scale(2.0f, 2.0f);
  surface.translate(10.0f, 5.0f);
  // (0, 0, 2, 2) -> translated to (10, 5) -> scaled to (20, 10) 4 x 4.
  surface.fill_rect(DrawBrush(kRed), {0, 0, 2, 2});
  EXPECT_EQ(c.ink(), (std::array<int, 4>{20, 10, 23, 13}));
  // Appended, a transform acts last: the offset is not scaled.
  Canvas d;
  DrawSurface appended(&d.dc);
  appended.scale(2.0f, 2.0f);
  appended.translate(10.0f, 5.0f, kOrderAppend);
  appended.fill_rect(DrawBrush(kRed), {0, 0, 2, 2});
  EXPECT_EQ(d.ink(), (std::array<int, 4>{10, 5, 13, 8}));
}

TEST(DrawLayer, TheEllipseClipCutsEveryLaterDrawing) {
  Canvas c;
  DrawSurface surface(&c.dc);
  surface.translate(32, 32);
  DrawPath circle;
  circle.add_ellipse({-32, -32, 64, 64});
  circle.close_figure();
  surface.set_clip(circle);
  surface.fill_rect(DrawBrush(kRed), {-32, -32, 64, 64});
  surface.draw_line(DrawPen(kRed, 2.0f), {-32, -32}, {32, 32});
  EXPECT_FALSE(c.inked(0, 0));
  EXPECT_FALSE(c.inked(63, 63));
  EXPECT_FALSE(c.inked(3, 60));
  EXPECT_TRUE(c.inked(32, 32));
  EXPECT_TRUE(c.inked(1, 32));
}

TEST(DrawLayer, TextHangsFromItsTopLeftCorner) {
  Canvas c;
  DrawSurface surface(&c.dc);
  DrawFont font(u"Courier New", 20.0f, kFontRegular, kUnitWorld);
  surface.draw_text(u"MH", -1, font, {10, 12}, DrawBrush(kRed));
  auto box = c.ink();
  EXPECT_GE(box[0], 10);
  EXPECT_LE(box[0], 13);
  EXPECT_GE(box[1], 12);
  EXPECT_LE(box[1], 18);  // capitals start a little below the line's top
  EXPECT_LE(box[3], 12 + 24);
}

TEST(DrawLayer, PointSizedTextScalesWithTheWorldTransform) {
  Canvas small, large;
  DrawSurface a(&small.dc), b(&large.dc);
  b.scale(4.0f, 4.0f);
  DrawFont font(u"Courier New", 3.0f, kFontRegular, kUnitPoint);
  a.draw_text(u"M", 1, font, {0, 0}, DrawBrush(kRed));
  b.draw_text(u"M", 1, font, {0, 0}, DrawBrush(kRed));
  int tall = small.ink()[3] + 1, taller = large.ink()[3] + 1;
  EXPECT_LE(tall, 5);  // 3 points: 4 pixels to the em
  EXPECT_GE(taller, 3 * tall);
}

TEST(DrawLayer, AMissingFamilyFallsBackToSansSerif) {
  Canvas c;
  DrawFontFamily missing(u"No Such Family Anywhere");
  EXPECT_EQ(missing.handle(), nullptr);
  EXPECT_EQ(missing.last_status(), kDrawFontFamilyNotFound);
  DrawFont font(u"No Such Family Anywhere", 12.0f, kFontBold, kUnitPixel);
  EXPECT_NE(font.handle(), nullptr);
  EXPECT_EQ(font.last_status(), kDrawFontFamilyNotFound);
  // A font that cannot be made from any family stays without a handle.
  DrawFont impossible(u"No Such Family Anywhere", -1.0f, kFontRegular, kUnitPixel);
  EXPECT_EQ(impossible.handle(), nullptr);
  EXPECT_EQ(impossible.last_status(), kDrawInvalidParameter);
}

TEST(DrawLayer, SmoothingDecidesWhetherEdgesBlend) {
  auto partial_pixels = [](std::int32_t mode) {
    Canvas c;
    DrawSurface surface(&c.dc);
    surface.set_smoothing(mode);
    surface.draw_ellipse(DrawPen(kRed, 1.0f), {8.3f, 8.3f, 40, 30});
    int partial = 0;
    for (std::uint32_t p : c.pixels) partial += (p >> 24) != 0 && (p >> 24) != 0xFF;
    return partial;
  };
  EXPECT_EQ(partial_pixels(kSmoothingNone), 0);
  EXPECT_GT(partial_pixels(kSmoothingAntiAlias), 20);
}

// A shape drawn again is blended from what the layer kept of its first
// drawings: each copy must look as the first, in its own colour and place.
TEST(DrawLayer, ARepeatedShapeLooksAsItsFirstDrawing) {
  constexpr DrawColor kGreen(255, 0, 255, 0);
  constexpr int kApart = 16;  // pixels between copies
  Canvas c;
  DrawSurface surface(&c.dc);
  surface.set_smoothing(kSmoothingAntiAlias);
  surface.scale(2.0f, 2.0f);
  const DrawColor colours[] = {kRed, kRed, kGreen, kRed};
  for (int i = 0; i < 4; ++i) {
    DrawPen pen(colours[i], 0.5f);
    float x = 1.25f + static_cast<float>(i * kApart / 2);
    surface.draw_ellipse(pen, {x, 2.25f, 5.0f, 4.0f});
    surface.draw_line(pen, {x, 12.25f}, {x + 4.0f, 15.75f});
  }
  auto alpha = [&](int x, int y) { return static_cast<int>(c.at(x, y) >> 24); };
  int inked = 0;
  for (int i = 1; i < 4; ++i) {
    for (int y = 0; y < Canvas::kSide; ++y) {
      for (int x = 0; x < kApart; ++x) {
        int first = alpha(x, y), copy = alpha(x + i * kApart, y);
        inked += first > 0;
        ASSERT_LE(std::abs(first - copy), 2) << "copy " << i << " at " << x << "," << y;
        std::uint32_t p = c.at(x + i * kApart, y);
        std::uint32_t colour = i == 2 ? (p >> 8) & 0xFF : (p >> 16) & 0xFF;
        EXPECT_EQ(colour, p >> 24);  // opaque colour, premultiplied
      }
    }
  }
  EXPECT_GT(inked, 3 * 20);
}

// A kept shape that crosses the clip is kept cut to that clip, and a new
// clip cuts it anew.
TEST(DrawLayer, AKeptShapeStaysCutByTheClipOfTheMoment) {
  Canvas c;
  DrawSurface surface(&c.dc);
  surface.set_smoothing(kSmoothingAntiAlias);
  surface.translate(32, 32);
  auto clip_to = [&](float r) {
    DrawPath circle;
    circle.add_ellipse({-r, -r, 2 * r, 2 * r});
    surface.set_clip(circle);
  };
  // Each drawing on cleared pixels, so that one can be told from the next.
  auto draw = [&] {
    std::fill(c.pixels.begin(), c.pixels.end(), 0u);
    surface.draw_line(DrawPen(kRed, 1.0f), {-30, -3}, {30, 3});
    return c.pixels;
  };
  auto reach = [&] {
    double farthest = 0;
    for (int y = 0; y < Canvas::kSide; ++y)
      for (int x = 0; x < Canvas::kSide; ++x)
        if (c.inked(x, y)) farthest = std::max(farthest, std::hypot(x + 0.5 - 32, y + 0.5 - 32));
    return farthest;
  };
  clip_to(20);
  auto first = draw();
  EXPECT_NEAR(reach(), 20, 1.0);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(draw(), first);
  clip_to(10);
  for (int i = 0; i < 3; ++i) {
    draw();
    EXPECT_NEAR(reach(), 10, 1.0) << "drawing " << i;
  }
}

TEST(DrawLayer, AKeptShapeFollowsTheWorldTransform) {
  Canvas kept, fresh;
  DrawSurface surface(&kept.dc), other(&fresh.dc);
  DrawPen pen(kRed, 1.0f);
  for (int i = 0; i < 3; ++i) surface.draw_ellipse(pen, {2, 2, 6, 6});
  EXPECT_EQ(kept.ink(), (std::array<int, 4>{2, 2, 7, 7}));
  std::fill(kept.pixels.begin(), kept.pixels.end(), 0u);
  surface.scale(4.0f, 4.0f);
  other.scale(4.0f, 4.0f);
  for (int i = 0; i < 3; ++i) surface.draw_ellipse(pen, {2, 2, 6, 6});
  other.draw_ellipse(pen, {2, 2, 6, 6});
  EXPECT_EQ(kept.pixels, fresh.pixels);
  EXPECT_GT(kept.ink()[2], 28);
}

TEST(DrawLayer, WideTextTakesEachByteAsOneCharacter) {
  char16_t out[8];
  EXPECT_EQ(widen("A\xB0z", out, 8), 3);
  EXPECT_EQ(out[1], u'\u00B0');
  EXPECT_EQ(out[3], 0);
  EXPECT_EQ(widen("abcdefghij", out, 4), 3);
  EXPECT_EQ(out[3], 0);
}

}  // namespace
