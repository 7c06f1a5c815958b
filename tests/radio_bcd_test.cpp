// The radio heads' readings of the host's packed-decimal words, and the
// digits their drums show.
#include <gtest/gtest.h>

#include "gauges/radios/radio_bcd.h"
#include "gauges/radios/radio_display.h"

namespace {

TEST(RadioBcd, ComWordsSplitIntoMegahertzAndHundredths) {
  struct Case {
    std::uint32_t word;
    double whole, fraction;
  } cases[] = {{0x1800, 118, 0}, {0x3697, 136, 97}, {0x2225, 122, 25},
               {0x2227, 122, 27}, {0x1999, 119, 99}, {0x3000, 130, 0}};
  for (const Case &c : cases) {
    EXPECT_EQ(com_whole_of(c.word), c.whole) << std::hex << c.word;
    EXPECT_EQ(com_fraction_of(c.word), c.fraction) << std::hex << c.word;
  }
}

TEST(RadioBcd, NavWordsSplitIntoMegahertzAndHundredths) {
  EXPECT_EQ(nav_whole_of(0x0800), 108);
  EXPECT_EQ(nav_fraction_of(0x0800), 0);
  EXPECT_EQ(nav_whole_of(0x0890), 108);
  EXPECT_EQ(nav_fraction_of(0x0890), 90);
  EXPECT_EQ(nav_whole_of(0x1795), 117);
  EXPECT_EQ(nav_fraction_of(0x1795), 95);
}

// A COM word below the 110s must not wrap round to millions of megahertz.
TEST(RadioBcd, ComWordBelowEveryDecadeReadsAsAHundredSomething) {
  EXPECT_EQ(com_whole_of(0x0000), 100);
  EXPECT_EQ(com_whole_of(0x0905), 109);
  EXPECT_EQ(com_fraction_of(0x0905), 5);
}

TEST(RadioBcd, BadWordsGiveBoundedNumbers) {
  EXPECT_EQ(bcd_byte(0xFF), 165);
  EXPECT_EQ(com_whole_of(0xFFFFFFFF), 130 + ((0xFFFFFFFFu - 0x3000u) >> 8));
  EXPECT_EQ(xpdr_code_of(0xFFFF), 1000 * 15 + 100 * 15 + 10 * 15 + 15);
}

TEST(RadioBcd, AdfReadsThousandsAndTenthsFromTheExtension) {
  EXPECT_EQ(adf_khz_of(0x0379, 0x0105), 1379);
  EXPECT_EQ(adf_tenths_of(0x0105), 5);
  EXPECT_EQ(adf_khz_of(0x0379, 0x0005), 379);
  EXPECT_EQ(adf_tenths_of(0x0005), 5);
  EXPECT_EQ(adf_khz_of(0x0199, 0x00FF), 199);
  EXPECT_EQ(adf_khz_of(0x0000, 0x0100), 1000);
  EXPECT_EQ(adf_tenths_of(0x0100), 0);
}

TEST(RadioBcd, TransponderCodeIsFourDecimalDigits) {
  EXPECT_EQ(xpdr_code_of(0x7700), 7700);
  EXPECT_EQ(xpdr_code_of(0x1200), 1200);
  EXPECT_EQ(xpdr_code_of(0x0007), 7);
}

TEST(RadioDisplay, DigitsOfEachPlace) {
  EXPECT_EQ(decimal_digit(118, 10), 1);
  EXPECT_EQ(decimal_digit(118, 1), 8);
  EXPECT_EQ(decimal_digit(1379, 1000), 1);
  EXPECT_EQ(decimal_digit(1379, 100), 3);
  EXPECT_EQ(decimal_digit(97, 10), 9);
  EXPECT_EQ(decimal_digit(0, 100), 0);
}

TEST(RadioDisplay, LightingFollowsPowerAndAlwaysAsksForARedraw) {
  GaugeElement e{};
  e.image_flags = static_cast<std::int32_t>(0x80000083u);
  light_display(e, true);
  EXPECT_EQ(static_cast<std::uint32_t>(e.image_flags), 0x4083u);
  e.image_flags = static_cast<std::int32_t>(0x80004083u);
  light_display(e, false);
  EXPECT_EQ(static_cast<std::uint32_t>(e.image_flags), 0x83u);
}

}  // namespace
