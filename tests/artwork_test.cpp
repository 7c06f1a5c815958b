// The module's bitmaps against its element trees: every bitmap an element
// names is carried, and at a size that fits where the gauge puts it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "host/core/instance.h"
#include "host/core/module.h"
#include "host/render/render_bitmap.h"

namespace z480 {
namespace {

class ArtworkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    module_ = Module::load(Z480_MODULE_PATH, &error).release();
    ASSERT_TRUE(module_) << error;
  }
  static void TearDownTestSuite() {
    delete module_;
    module_ = nullptr;
  }

  static std::optional<Pixels> bitmap(std::int32_t id) {
    return load_bitmap(module_->handle(), static_cast<std::uint32_t>(id));
  }

  // Every gauge's instance copy, in registry order.
  static std::vector<std::unique_ptr<Instance>> gauges() {
    std::vector<std::unique_ptr<Instance>> all;
    for (GaugeHeader *g : module_->linkage().gauge_header_ptr) {
      if (!g) break;
      std::string error;
      all.push_back(Instance::create(g, g->gauge_name, std::nullopt, &error));
      EXPECT_TRUE(all.back()) << error;
    }
    return all;
  }

  static Module *module_;
};
Module *ArtworkTest::module_ = nullptr;

struct Box {
  int x, y, w, h;
};

// Within the background (touching its edges counts).
::testing::AssertionResult inside(const Pixels &background, Box b) {
  if (b.x >= 0 && b.y >= 0 && b.x + b.w <= background.width && b.y + b.h <= background.height)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << b.x << "," << b.y << " " << b.w << "x" << b.h
                                       << " outside " << background.width << "x"
                                       << background.height;
}

// The bitmaps an element draws: icons their images, moving images and
// sprites their mask as well.
std::vector<std::int32_t> images_of(const GaugeElement &e) {
  int count = 1;
  if (e.element_type == kIcon) count = std::max(1, reinterpret_cast<const IconElement &>(e).num_icons);
  if (e.element_type == kMovingImage || e.element_type == kSprite) count = 2;
  std::vector<std::int32_t> ids;
  for (int k = 0; k < count; ++k) ids.push_back(e.resource_id + k);
  return ids;
}

TEST_F(ArtworkTest, EveryBitmapAnElementNamesIsCarriedAndFitsItsGauge) {
  for (auto &inst : gauges()) {
    SCOPED_TRACE(inst->alias());
    auto background = bitmap(inst->elements().front()->resource_id);
    ASSERT_TRUE(background) << "no background";
    for (GaugeElement *e : inst->elements()) {
      if (e->resource_id <= 0) continue;
      SCOPED_TRACE("bitmap " + std::to_string(e->resource_id));
      std::vector<Pixels> images;
      for (std::int32_t id : images_of(*e)) {
        auto p = bitmap(id);
        ASSERT_TRUE(p) << "bitmap " << id << " is missing";
        images.push_back(*p);
      }
      const Pixels &first = images.front();
      PixPoint at = e->position;
      switch (e->element_type) {
        case kStaticImage:
        case kIcon:
          EXPECT_TRUE(inside(*background, {at.x, at.y, first.width, first.height}));
          for (const Pixels &p : images) {
            EXPECT_EQ(p.width, first.width);
            EXPECT_EQ(p.height, first.height);
          }
          break;
        case kNeedle:
          EXPECT_TRUE(inside(first, {e->ofs.x, e->ofs.y, 1, 1})) << "pivot outside the needle";
          // A pivot may sit on the dial's edge (the attitude's rate-of-turn needle).
          EXPECT_TRUE(inside(*background, {at.x, at.y, 0, 0})) << "pivot outside the dial";
          break;
        case kSlider:
          EXPECT_TRUE(inside(*background, {at.x, at.y, 1, 1}));
          break;
        case kMovingImage: {
          const Pixels &mask = images[1];
          EXPECT_TRUE(inside(*background, {at.x, at.y, mask.width, mask.height}));
          EXPECT_EQ(first.width, mask.width) << "a strip slides only up and down";
          EXPECT_GT(first.height, mask.height);
          EXPECT_EQ(first.height % mask.height, 0) << "the strip holds whole cells";
          break;
        }
        case kSprite:
          EXPECT_TRUE(inside(*background, {at.x, at.y, images[1].width, images[1].height}));
          break;
      }
    }
  }
}

TEST_F(ArtworkTest, MouseRectanglesLieOnTheGauge) {
  for (auto &inst : gauges()) {
    SCOPED_TRACE(inst->alias());
    auto background = bitmap(inst->elements().front()->resource_id);
    ASSERT_TRUE(background);
    std::vector<PixPoint> open;
    for (const MouseRect *r = inst->mouse(); r && r->rect_type != kMouseEnd; ++r) {
      PixPoint base = open.empty() ? PixPoint{0, 0} : open.back();
      PixPoint origin{base.x + r->relative_box.x, base.y + r->relative_box.y};
      if (r->rect_type == kMouseParent) open.push_back(origin);
      if (r->rect_type == kMouseEndParent && !open.empty()) open.pop_back();
      if (r->rect_type == kMouseParent || r->rect_type == kMouseChild) {
        EXPECT_TRUE(inside(*background, {origin.x, origin.y, r->relative_box.size_x,
                                         r->relative_box.size_y}));
      }
    }
  }
}

// Where a gauge's description gives a bitmap's size, the bitmap has it:
// backgrounds, the radar screen, the knob and the digit strips (eleven
// cells, 0 to 9 and 0 again).
TEST_F(ArtworkTest, StatedSizes) {
  const std::map<std::int32_t, std::pair<int, int>> stated = {
      {60, {150, 25}},   {490, {5, 5}},     {3210, {304, 270}}, {3220, {200, 200}},
      {4000, {400, 180}}, {4010, {400, 180}}, {4020, {54, 54}},  {4110, {261, 99}},
      {3190, {300, 300}}, {3390, {264, 356}}, {5350, {297, 216}}, {5360, {192, 192}}};
  for (const auto &[id, size] : stated) {
    auto p = bitmap(id);
    ASSERT_TRUE(p) << id;
    EXPECT_EQ(p->width, size.first) << id;
    EXPECT_EQ(p->height, size.second) << id;
  }
  const std::map<std::int32_t, int> cells = {{4050, 26}, {3370, 33}, {4120, 17}, {1260, 33}};
  for (const auto &[id, cell] : cells) {
    auto p = bitmap(id);
    ASSERT_TRUE(p) << id;
    EXPECT_EQ(p->height, 11 * cell) << id;
  }
}

TEST(DibTest, RoundTripsAndRefusesWhatItCannotRead) {
  Pixels p{3, 2, {0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0x123456, 0xffffff}};
  std::vector<std::uint8_t> dib = encode_dib(p);
  EXPECT_EQ(dib.size(), 40u + 2 * 12);  // rows padded to four bytes
  auto back = decode_dib(dib);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->rgb, p.rgb);

  std::vector<std::uint8_t> truncated(dib.begin(), dib.end() - 1);
  EXPECT_FALSE(decode_dib(truncated));
  std::vector<std::uint8_t> eight_bit = dib;
  eight_bit[14] = 8;
  EXPECT_FALSE(decode_dib(eight_bit));
  std::vector<std::uint8_t> huge = dib;
  huge[7] = 0x7f;  // width 2^31 - ...
  EXPECT_FALSE(decode_dib(huge));
  EXPECT_FALSE(decode_dib({}));

  std::vector<std::uint8_t> file = bmp_file(dib);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file.size(), dib.size() + 14);
}

}  // namespace
}  // namespace z480
