// The host's side of sound, through the probe module's Clicker and Speaker:
// the sound log, the audio clock, the mix and the recording written by
// `z480-panel run --wav`.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "host/core/host.h"
#include "platform/resources.h"
#include "platform/wave.h"

namespace z480 {
namespace {

constexpr double kRate = Audio::kMixRate;

// A freshly loaded probe module and its host.
struct Panel {
  Panel() {
    std::string error;
    module = Module::load(Z480_PROBE_MODULE_PATH, &error);
    EXPECT_TRUE(module) << error;
    host = std::make_unique<Host>(*module);
  }
  ~Panel() { host.reset(); }
  Instance &place(const std::string &gauge, const std::string &alias,
                  std::optional<std::string> param = std::nullopt) {
    std::string error;
    Instance *i = host->place(gauge, alias, std::move(param), &error);
    EXPECT_TRUE(i) << error;
    return *i;
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) host->frame();
  }
  void click(const std::string &alias) { host->click(*host->instance(alias), {10, 10}, kMouseLeftSingle); }
  std::unique_ptr<Module> module;
  std::unique_ptr<Host> host;
};

// The largest magnitude between two times, as a fraction of full scale.
double peak(const std::vector<std::int16_t> &track, double from, double to) {
  int most = 0;
  auto last = std::min(track.size(), static_cast<std::size_t>(to * kRate));
  for (auto i = static_cast<std::size_t>(from * kRate); i < last; ++i)
    most = std::max(most, std::abs(static_cast<int>(track[i])));
  return most / 32767.0;
}

TEST(AudioTest, LogsEachSoundWithItsWaveGaugeTimeAndVolume) {
  Panel p;
  p.place("Clicker", "battery");
  p.place("Speaker", "radalt", "1470 -500");
  p.frames(9);
  p.click("battery");
  p.frames(18);
  p.click("radalt");
  const auto &log = p.host->audio().started();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].wave_id, 10);
  EXPECT_EQ(log[0].gauge, "battery");
  EXPECT_DOUBLE_EQ(log[0].time, 0.5);
  EXPECT_EQ(log[0].volume, 0);
  EXPECT_EQ(log[1].wave_id, 1470);
  EXPECT_EQ(log[1].gauge, "radalt");
  EXPECT_DOUBLE_EQ(log[1].time, 1.5);
  EXPECT_EQ(log[1].volume, -500);
  EXPECT_EQ(p.host->audio().take_new_starts(), std::make_pair(std::size_t{0}, std::size_t{2}));
  auto none = p.host->audio().take_new_starts();
  EXPECT_EQ(none.first, none.second);
}

TEST(AudioTest, TheMixHasTheClickWhereItWasPlayedAndSilenceElsewhere) {
  Panel p;
  p.place("Clicker", "c");
  p.frames(9);
  p.click("c");
  p.frames(9);
  ASSERT_DOUBLE_EQ(p.host->seconds(), 1.0);
  std::vector<std::int16_t> track = p.host->audio().mix(p.host->seconds());
  ASSERT_EQ(track.size(), 22050u);
  EXPECT_EQ(peak(track, 0, 0.5), 0.0);
  EXPECT_NEAR(peak(track, 0.5, 0.51), std::pow(10.0, -3.0 / 20), 0.01);  // the click's -3 dBFS
  EXPECT_GT(peak(track, 0.51, 0.52), 0.01);
  EXPECT_EQ(peak(track, 0.5 + 1914 / kRate, 1.0), 0.0);
  EXPECT_DOUBLE_EQ(p.host->audio().end_of_sound(), 0.5 + 1914 / kRate);
}

TEST(AudioTest, EightBitCalloutsAreConvertedResampledAndAttenuated) {
  auto callout = [](const std::string &param) {
    Panel p;
    p.place("Speaker", "s", param);
    p.frames(1);
    p.click("s");  // at 1/18 s: sample 1225 of the mix
    p.frames(8);
    return p.host->audio().mix(p.host->seconds());
  };
  std::vector<std::int16_t> full = callout("1460");
  std::vector<std::int16_t> quiet = callout("1460 -600");

  Panel ref;
  auto bytes = platform::find_resource(ref.module->handle(), "WAVE", 1460);
  ASSERT_TRUE(bytes);
  auto wave = platform::parse_wave(*bytes);
  ASSERT_TRUE(wave);
  const auto &pcm = wave->data;
  ASSERT_GE(full.size(), 1225 + 2 * pcm.size());
  auto value = [](std::uint8_t s) { return (s - 128) / 128.0 * 32767; };
  for (std::size_t k = 0; k + 1 < pcm.size(); ++k) {
    // 11025 Hz doubled: each sample, then the point halfway to the next.
    ASSERT_NEAR(full[1225 + 2 * k], value(pcm[k]), 1.0) << k;
    ASSERT_NEAR(full[1226 + 2 * k], (value(pcm[k]) + value(pcm[k + 1])) / 2, 1.0) << k;
  }
  EXPECT_EQ(peak(full, 0, 1225 / kRate), 0.0);
  EXPECT_EQ(peak(full, (1225 + 2 * pcm.size()) / kRate, 0.5), 0.0);
  // -6 dB is half the amplitude.
  double ratio = peak(quiet, 0, 0.5) / peak(full, 0, 0.5);
  EXPECT_NEAR(ratio, std::pow(10.0, -600 / 2000.0), 0.01);
}

TEST(AudioTest, ARecordingPutsRunsOneAfterAnotherIntoAWaveFile) {
  SoundRecording recording;
  for (int run = 0; run < 2; ++run) {
    Panel p;
    p.place("Clicker", "c");
    p.frames(9);
    p.click("c");
    recording.add(p.host->audio(), 0.25);  // the click outlasts the run
  }
  ASSERT_EQ(recording.samples().size(), 2 * static_cast<std::size_t>(std::ceil((0.5 + 1914 / kRate) * kRate)));
  double second_run = recording.samples().size() / 2 / kRate;
  EXPECT_GT(peak(recording.samples(), second_run + 0.5, second_run + 0.51), 0.5);

  std::string path = (std::filesystem::temp_directory_path() / "z480-audio-test.wav").string();
  std::string error;
  ASSERT_TRUE(recording.write(path, &error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);
  auto wave = platform::parse_wave(file);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->format.channels, 1);
  EXPECT_EQ(wave->format.bits_per_sample, 16);
  EXPECT_EQ(wave->format.samples_per_sec, 22050u);
  EXPECT_EQ(wave->format.avg_bytes_per_sec, 44100u);
  ASSERT_EQ(wave->data.size(), recording.samples().size() * 2);
  EXPECT_EQ(std::memcmp(wave->data.data(), recording.samples().data(), wave->data.size()), 0);
  EXPECT_FALSE(recording.write("/nonexistent-dir/x.wav", &error));
}

}  // namespace
}  // namespace z480
