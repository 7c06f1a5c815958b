// Telling the module's sounds apart in a recording of the sound card: each
// resource alone, overlapping, twice at once, clipped, and sounds that are
// none of ours.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <random>

#include "host/core/sound_match.h"

namespace z480 {
namespace {

constexpr double kCardRate = 48000;

struct Resource {
  platform::WaveFormat format;
  std::vector<std::uint8_t> data;
};

std::map<std::int32_t, Resource> &resources() {
  static std::map<std::int32_t, Resource> all = [] {
    std::map<std::int32_t, Resource> loaded;
    for (const auto &entry :
         std::filesystem::directory_iterator(std::string(Z480_SOURCE_DIR) + "/resources/sounds")) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
      auto wave = platform::parse_wave(bytes);
      if (!wave) continue;
      loaded[std::stoi(entry.path().stem().string())] = {
          wave->format, {wave->data.begin(), wave->data.end()}};
    }
    return loaded;
  }();
  return all;
}

SoundMatcher matcher() {
  SoundMatcher m;
  for (const auto &[id, r] : resources()) m.add(id, r.format, r.data);
  return m;
}

// A sound card's mix: each sound stretched to the card's rate by cubic
// interpolation (not the matcher's resampler, and keeping the whole band),
// at a gain, added up, clipped and cut to 16 bits.
struct Track {
  std::vector<float> samples;
  explicit Track(double seconds) : samples(static_cast<std::size_t>(seconds * kCardRate)) {}
  void play(std::int32_t id, double at, double gain = 1.0) {
    const Resource &r = resources().at(id);
    std::vector<float> v = pcm_values(r.format, r.data);
    double step = r.format.samples_per_sec / kCardRate;
    auto first = static_cast<std::size_t>(at * kCardRate);
    for (std::size_t i = 0; first + i < samples.size(); ++i) {
      double x = static_cast<double>(i) * step;
      auto k = static_cast<std::size_t>(x);
      if (k + 2 >= v.size()) break;
      auto f = static_cast<float>(x - static_cast<double>(k));
      float a = k > 0 ? v[k - 1] : 0.0f, b = v[k], c = v[k + 1], d = v[k + 2];
      float cubic = b + 0.5f * f * (c - a + f * (2 * a - 5 * b + 4 * c - d + f * (3 * (b - c) + d - a)));
      samples[first + i] += static_cast<float>(gain) * cubic;
    }
  }
  std::vector<float> card() const {
    std::vector<float> out(samples.size());
    for (std::size_t i = 0; i < out.size(); ++i)
      out[i] = std::round(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f) / 32767.0f;
    return out;
  }
};

std::vector<std::int32_t> ids(const std::vector<HeardSound> &heard) {
  std::vector<std::int32_t> out;
  for (const HeardSound &h : heard)
    for (int i = 0; i < h.copies; ++i) out.push_back(h.wave_id);
  return out;
}

TEST(SoundMatch, EveryResourceAloneIsFoundWhereItStartsAtItsGain) {
  SoundMatcher m = matcher();
  ASSERT_EQ(resources().size(), 15u);
  for (const auto &[id, r] : resources()) {
    Track t(1.6);
    t.play(id, 0.25, 0.5623);  // -5 dB, as the callouts play
    std::vector<HeardSound> heard = m.find(t.card(), kCardRate);
    ASSERT_EQ(heard.size(), 1u) << "WAVE " << id;
    EXPECT_EQ(heard[0].wave_id, id);
    // WAVE 20 is a steady hum, which fits as well a few periods on
    double period = id == 20 ? 0.003 : 0.0005;
    EXPECT_NEAR(heard[0].at, 0.25, period) << "WAVE " << id;
    EXPECT_NEAR(heard[0].gain, 0.5623, 0.05) << "WAVE " << id;
    EXPECT_EQ(heard[0].copies, 1);
    EXPECT_GT(heard[0].fit, 0.95) << "WAVE " << id;
  }
}

TEST(SoundMatch, OverlappingSoundsAreHeardInTheOrderTheyBegin) {
  SoundMatcher m = matcher();
  Track t(3.0);
  // three callouts of successive updates, a few milliseconds apart
  t.play(1380, 0.10, 0.5623);
  t.play(1470, 0.12, 0.5623);
  t.play(1400, 0.15, 0.5623);
  t.play(10, 0.50);  // a click in the middle of it all
  t.play(1360, 1.5, 0.5623);
  t.play(1370, 1.9, 0.5623);  // over the end of the one before
  EXPECT_EQ(ids(m.find(t.card(), kCardRate)),
            (std::vector<std::int32_t>{1380, 1470, 1400, 10, 1360, 1370}));
}

TEST(SoundMatch, SoundsStartedTogetherCountEachCopyThoughTheCardClips) {
  SoundMatcher m = matcher();
  Track t(1.0);
  t.play(10, 0.1);
  t.play(10, 0.1);  // two switches in one frame: 1.4 of full scale, clipped
  t.play(10, 0.5);
  t.play(10, 0.5);
  t.play(10, 0.5);
  std::vector<HeardSound> heard = m.find(t.card(), kCardRate);
  EXPECT_EQ(ids(heard), (std::vector<std::int32_t>{10, 10, 10, 10, 10}));
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_NEAR(heard[0].at, 0.1, 0.001);
}

TEST(SoundMatch, SilenceHissAndForeignSoundsAreNoneOfOurs) {
  SoundMatcher m = matcher();
  Track t(2.0);
  std::mt19937 random(7);
  std::normal_distribution<float> hiss(0.0f, 0.004f);
  for (float &s : t.samples) s = hiss(random);
  EXPECT_TRUE(m.find(t.card(), kCardRate).empty());
  // a tone and a burst of noise, each as loud as a callout
  for (std::size_t i = 0; i < 12000; ++i)
    t.samples[4800 + i] += 0.5f * static_cast<float>(std::sin(2 * std::numbers::pi * 440 * i / kCardRate));
  std::normal_distribution<float> burst(0.0f, 0.3f);
  for (std::size_t i = 0; i < 6000; ++i) t.samples[40000 + i] += burst(random);
  EXPECT_TRUE(m.find(t.card(), kCardRate).empty());
  // ... but a callout over the hiss is still heard
  t.play(1450, 1.2, 0.5623);
  EXPECT_EQ(ids(m.find(t.card(), kCardRate)), (std::vector<std::int32_t>{1450}));
  EXPECT_TRUE(m.find({}, kCardRate).empty());
}

TEST(SoundMatch, ResamplingKeepsThePassBandAndDropsWhatLiesAbove) {
  auto tone = [](double hz, double rate, std::size_t n) {
    std::vector<float> v(n);
    for (std::size_t i = 0; i < n; ++i)
      v[i] = static_cast<float>(std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
    return v;
  };
  auto peak = [](const std::vector<float> &v) {
    float p = 0;
    for (std::size_t i = v.size() / 4; i < 3 * v.size() / 4; ++i) p = std::max(p, std::fabs(v[i]));
    return p;
  };
  std::vector<float> low = resample(tone(1000, 48000, 48000), 48000, 12000, 4900);
  EXPECT_EQ(low.size(), 12000u);
  EXPECT_NEAR(peak(low), 1.0, 0.01);
  EXPECT_LT(peak(resample(tone(7000, 48000, 48000), 48000, 12000, 4900)), 0.01);
  EXPECT_NEAR(peak(resample(tone(1000, 11025, 11025), 11025, 12000, 4900)), 1.0, 0.01);
  EXPECT_TRUE(resample(tone(1000, 48000, 100), 0, 12000, 4900).empty());
}

}  // namespace
}  // namespace z480
