// The host's systems model: the radio step arithmetic, and how rules from
// several tables reach the host's variables.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "host/model/radio_model.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

std::uint32_t steps(std::uint32_t word, int n, std::uint32_t (*step)(std::uint32_t, const RadioBand &, int),
                    const RadioBand &band, int delta) {
  for (int i = 0; i < n; ++i) word = step(word, band, delta);
  return word;
}

TEST(RadioModel, NavFractionWalksFiftyKilohertzChannelsWithinTheMegahertz) {
  std::vector<std::uint32_t> seen;
  std::uint32_t w = 0x1000;
  for (int i = 0; i < 20; ++i) {
    w = radio_fraction_step(w, kNavBand, +1);
    seen.push_back(w);
  }
  EXPECT_EQ(seen[0], 0x1005u);
  EXPECT_EQ(seen[18], 0x1095u);
  EXPECT_EQ(seen[19], 0x1000u);  // .95 up is .00 of the same megahertz
  EXPECT_EQ(radio_fraction_step(0x1000, kNavBand, -1), 0x1095u);
  EXPECT_EQ(steps(0x0850, 100, radio_fraction_step, kNavBand, +1), 0x0850u);
}

TEST(RadioModel, ComFractionKeepsTwentyFiveKilohertzChannelsInTwoDecimals) {
  std::uint32_t w = 0x2200;
  std::vector<std::uint32_t> seen;
  for (int i = 0; i < 5; ++i) seen.push_back(w = radio_fraction_step(w, kComBand, +1));
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0x2202, 0x2205, 0x2207, 0x2210, 0x2212}));
  EXPECT_EQ(radio_fraction_step(0x2297, kComBand, +1), 0x2200u);
  EXPECT_EQ(radio_fraction_step(0x2200, kComBand, -1), 0x2297u);
  EXPECT_EQ(steps(0x1800, 40, radio_fraction_step, kComBand, -1), 0x1800u);
  // an off-channel fraction first moves to the channel above it
  EXPECT_EQ(radio_fraction_step(0x2203, kComBand, +1), 0x2207u);
  EXPECT_EQ(radio_fraction_step(0x1297, kNavBand, +1), 0x1200u);
  EXPECT_EQ(radio_fraction_step(0x1297, kNavBand, -1), 0x1290u);
}

TEST(RadioModel, WholeMegahertzWrapsRoundTheBandAndKeepsTheFraction) {
  EXPECT_EQ(radio_whole_step(0x3597, kComBand, +1), 0x3697u);
  EXPECT_EQ(radio_whole_step(0x3697, kComBand, +1), 0x1897u);
  EXPECT_EQ(radio_whole_step(0x1825, kComBand, -1), 0x3625u);
  EXPECT_EQ(radio_whole_step(0x1750, kNavBand, +1), 0x0850u);
  EXPECT_EQ(radio_whole_step(0x0850, kNavBand, -1), 0x1750u);
  EXPECT_EQ(radio_whole_step(0x0850, kNavBand, +1), 0x0950u);
}

TEST(RadioModel, WordsOutsideTheBandComeBackIntoIt) {
  EXPECT_EQ(radio_whole_step(0x0000, kComBand, +1), 0x1900u);
  EXPECT_EQ(radio_fraction_step(0x0000, kComBand, +1), 0x1802u);
  EXPECT_EQ(radio_whole_step(0xFFFF, kNavBand, -1), 0x1699u);
  EXPECT_EQ(radio_fraction_step(0xFFFFFFFF, kNavBand, +1), 0x1700u);
}

TEST(RadioModel, AdfHundredsRunThroughTheThousandsAndWrapRoundTheBand) {
  AdfWords w = adf_digit_step({0x0999, 0x0003}, kAdfHundreds, +1);
  EXPECT_EQ(w.main, 0x0099u);
  EXPECT_EQ(w.extension, 0x0103u);
  w = adf_digit_step({0x0799, 0x0100}, kAdfHundreds, +1);
  EXPECT_EQ(w.main, 0x0199u);
  EXPECT_EQ(w.extension, 0x0000u);
  w = adf_digit_step({0x0150, 0x0002}, kAdfHundreds, -1);
  EXPECT_EQ(w.main, 0x0750u);
  EXPECT_EQ(w.extension, 0x0102u);
}

TEST(RadioModel, AdfLowerDigitsWrapWithoutCarrying) {
  AdfWords w = adf_digit_step({0x0399, 0x0109}, kAdfUnits, +1);
  EXPECT_EQ(w.main, 0x0390u);
  w = adf_digit_step(w, kAdfTens, +1);
  EXPECT_EQ(w.main, 0x0300u);
  w = adf_digit_step(w, kAdfTenths, +1);
  EXPECT_EQ(w.extension, 0x0100u);
  w = adf_digit_step(w, kAdfTenths, -1);
  EXPECT_EQ(w.extension, 0x0109u);
  EXPECT_EQ(w.main, 0x0300u);
}

TEST(RadioModel, TransponderDigitsAreOctalWithoutCarry) {
  EXPECT_EQ(xpdr_digit_step(0x7677, 12, +1), 0x0677u);
  EXPECT_EQ(xpdr_digit_step(0x7677, 0, +1), 0x7670u);
  EXPECT_EQ(xpdr_digit_step(0x1200, 4, -1), 0x1270u);
  EXPECT_EQ(xpdr_digit_step(0x1299, 0, +1), 0x1290u);  // a 9 reads as 7
  EXPECT_EQ(xpdr_digit_step(0xFFFF0000, 8, +1), 0x0100u);
  // a shift that names no digit (past the word, negative, between digits)
  // leaves the code alone
  for (int shift : {16, 32, 100, -4, 3})
    EXPECT_EQ(xpdr_digit_step(0x12345677, shift, +1), 0x5677u) << shift;
}

TEST(SystemsModel, WholeDegreesStayOnTheDial) {
  EXPECT_EQ(wrap_degrees_int(-1), 359);
  EXPECT_EQ(wrap_degrees_int(360), 0);
  EXPECT_EQ(wrap_degrees_int(-725), 355);
  EXPECT_EQ(wrap_degrees_int(2147483647), 127);
}

TEST(SystemsModel, TheRadioTableCoversEveryRadioEvent) {
  SystemsModel model;
  for (std::int32_t e : {65636, 65637, 65638, 65639, 65640, 65641, 65642, 65643, 66436, 66437,
                         66438, 66440, 65644, 65645, 65646, 65647, 65648, 65649, 65650, 65666,
                         65667, 65668, 66453, 66454, 65651, 65652, 65653, 65654, 66455, 66456,
                         66457, 66458, 66042, 65716, 65879, 65880, 65787, 65788, 66375})
    EXPECT_TRUE(model.handles(e)) << e;
  EXPECT_FALSE(model.handles(66439));  // COM 2 fraction up is 66440, two apart
  std::set<std::string> names;
  for (const ModelTable &t : model_tables()) EXPECT_TRUE(names.insert(t.name).second) << t.name;
  EXPECT_TRUE(names.count("radios"));
}

// Rules of several tables for one event run in table order, and a model
// switched off leaves the host alone.
TEST(SystemsModel, RulesOfEveryTableRunInOrder) {
  std::string error;
  auto module = Module::load(Z480_PROBE_MODULE_PATH, &error);
  ASSERT_TRUE(module) << error;
  Host host(*module);
  static const ModelRule first[] = {{.event = 7, .action = action_set, .token = 100, .set_to = 5},
                                    {.event = 8, .action = action_toggle, .token = 101}};
  static const ModelRule second[] = {
      {.event = 7, .action = action_step_degrees, .token = 100, .step = -10},
      {.event = 9, .action = action_set_degrees, .token = 102}};
  const ModelTable tables[] = {{"first", first}, {"second", second}};
  SystemsModel model(tables);
  model.react(host, {7, 0});
  EXPECT_EQ(host.var(100), 355);
  model.react(host, {8, 0});
  model.react(host, {9, static_cast<std::uint32_t>(-90)});
  EXPECT_EQ(host.var(101), 1);
  EXPECT_EQ(host.var(102), 270);
  model.set_enabled(false);
  model.react(host, {8, 0});
  EXPECT_EQ(host.var(101), 1);
}

}  // namespace
}  // namespace z480
