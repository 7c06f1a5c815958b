// The sound operations over the machine's sound layer: the host-window rule,
// loading and playing WAVE resources, the failure rule, the click pattern,
// and the sound layer's own checks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/core/module.h"
#include "platform/platform_control.h"
#include "platform/resources.h"
#include "platform/sound_platform.h"
#include "sound/click.h"
#include "sound/host_window.h"
#include "sound/sound.h"

namespace {

namespace control = platform::control;

TEST(HostWindowTest, KindFromTheProgramsBaseName) {
  struct Case {
    const char *name;
    int kind;
    const char *window;
  };
  const Case cases[] = {
      {"FS9", 1, "FS98MAIN"},       {"fs2004", 3, "FS98MAIN"},   {"FS2", 3, "FS98MAIN"},
      {"CFS3", 2, "MSCFSMAIN"},     {"CFS2", 4, "MSCFSMAIN"},    {"ABC2xyz", 4, "MSCFSMAIN"},
      {"C", 2, "MSCFSMAIN"},        {"cfs3", 1, "FS98MAIN"},     {"", 1, "FS98MAIN"},
      {"z480-panel", 1, "FS98MAIN"}, {"CF22", 4, "MSCFSMAIN"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(host_kind(c.name), c.kind) << c.name;
    EXPECT_STREQ(host_window_class(c.name), c.window) << c.name;
  }
}

TEST(HostWindowTest, BaseNameDropsDriveDirectoriesAndExtension) {
  EXPECT_EQ(program_base_name("C:\\Program Files\\FS9\\FS9.EXE"), "FS9");
  EXPECT_EQ(program_base_name("D:CFS2.EXE"), "CFS2");
  EXPECT_EQ(program_base_name("/usr/local/bin/z480-panel"), "z480-panel");
  EXPECT_EQ(program_base_name("/opt/v1.2/fs9"), "fs9");
  EXPECT_EQ(program_base_name("sim.release.exe"), "sim.release");
  EXPECT_EQ(program_base_name(""), "");
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module = z480::Module::load(Z480_MODULE_PATH, &error);
    ASSERT_TRUE(module) << error;
    control::reset();
    control::set_program_path("C:\\FS9\\FS9.EXE");
    control::open_window("FS98MAIN");
    control::on_playback([this](std::shared_ptr<const control::Playback> p) {
      plays.push_back(std::move(p));
    });
    Sound_Available = 1;
  }
  void TearDown() override {
    control::reset();
    Sound_Available = 1;
  }

  ServiceData handle() const { return reinterpret_cast<ServiceData>(module->handle()); }

  // A channel with its own device and one sound loaded.
  SoundChannel open(std::uint16_t wave) {
    SoundChannel c;
    c.module_handle = handle();
    c.window = sound_find_host_window();
    sound_create_device(c.window, &c.device);
    sound_load_wave(c.window, c.device, &c.buffer, wave, c.module_handle);
    return c;
  }

  std::unique_ptr<z480::Module> module;
  std::vector<std::shared_ptr<const control::Playback>> plays;
};

TEST_F(SoundTest, SwitchClickLoadsAndPlaysOnceForItsLength) {
  SoundChannel c;
  c.window = sound_find_host_window();
  ASSERT_NE(c.window, nullptr);
  EXPECT_EQ(sound_create_device(c.window, &c.device), 1);
  EXPECT_EQ(sound_load_wave(c.window, c.device, &c.buffer, kSwitchClick, handle()), 3828u);
  EXPECT_EQ(control::live_objects(), 2u);
  EXPECT_EQ(sound_is_playing(&c.buffer), 0);

  EXPECT_EQ(sound_play(&c.buffer, 0), 1);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0]->format.bits_per_sample, 16);
  EXPECT_EQ(plays[0]->format.samples_per_sec, 22050u);
  auto resource = platform::find_resource(module->handle(), "WAVE", kSwitchClick);
  ASSERT_TRUE(resource);
  ASSERT_EQ(plays[0]->data->size(), 3828u);
  // The buffer holds the resource's PCM bytes: the last 3828 of the file.
  EXPECT_EQ(std::memcmp(plays[0]->data->data(), resource->data() + resource->size() - 3828, 3828),
            0);
  EXPECT_NEAR(plays[0]->end - plays[0]->start, 1914.0 / 22050, 1e-12);

  control::set_time(0.086);
  EXPECT_EQ(sound_is_playing(&c.buffer), 1);
  EXPECT_EQ(sound_play(&c.buffer, 0), 1);  // still playing: goes on
  EXPECT_EQ(plays.size(), 1u);
  control::set_time(0.087);
  EXPECT_EQ(sound_is_playing(&c.buffer), 0);
  EXPECT_EQ(sound_play(&c.buffer, 0), 1);  // from the start again
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_EQ(plays[1]->offset, 0u);
  EXPECT_EQ(Sound_Available, 1);
}

TEST_F(SoundTest, VolumeIsInHundredthsOfADecibel) {
  SoundChannel c = open(1460);
  EXPECT_EQ(sound_set_volume(&c.buffer, -500), 1);
  EXPECT_EQ(sound_play(&c.buffer, 0), 1);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0]->volume, -500);
  EXPECT_EQ(plays[0]->format.bits_per_sample, 8);
  EXPECT_NEAR(plays[0]->end - plays[0]->start, 3273.0 / 11025, 1e-12);
  // Past the quietest setting the layer refuses, and that is a failure.
  EXPECT_EQ(sound_set_volume(&c.buffer, -10001), 0);
  EXPECT_EQ(c.buffer, nullptr);
  EXPECT_EQ(Sound_Available, 0);
}

TEST_F(SoundTest, AfterTheFirstFailureEveryGaugeIsSilent) {
  SoundChannel click = open(kSwitchClick);
  SoundChannel callout = open(1350);
  ASSERT_NE(click.buffer, nullptr);
  ASSERT_NE(callout.buffer, nullptr);
  std::size_t live = control::live_objects();

  SoundChannel missing = open(999);  // no such WAVE resource
  EXPECT_EQ(missing.buffer, nullptr);
  EXPECT_EQ(Sound_Available, 0);
  EXPECT_EQ(control::live_objects(), live + 1);  // its device only

  void *again = nullptr;
  EXPECT_EQ(sound_load_wave(missing.window, missing.device, &again, kSwitchClick, handle()), 0u);
  EXPECT_EQ(again, nullptr);
  EXPECT_EQ(sound_play(&click.buffer, 0), 0);
  EXPECT_EQ(sound_play(&callout.buffer, 0), 0);
  EXPECT_EQ(sound_is_playing(&callout.buffer), 0);
  EXPECT_EQ(sound_set_volume(&callout.buffer, -500), 0);
  EXPECT_TRUE(plays.empty());
  EXPECT_EQ(control::live_objects(), live + 1);

  // Devices are still made, and everything is still released.
  void *device = nullptr;
  EXPECT_EQ(sound_create_device(sound_find_host_window(), &device), 1);
  for (void **object : {&click.buffer, &click.device, &callout.buffer, &callout.device,
                        &missing.device, &device})
    sound_release(object);
  EXPECT_EQ(control::live_objects(), 0u);
  EXPECT_EQ(Sound_Available, 0);  // for good
}

TEST_F(SoundTest, AFailingCallReleasesAndClearsItsBufferAndSilencesTheModule) {
  using Operation = int (*)(SoundBuffer *);
  const Operation operations[] = {
      [](SoundBuffer *b) { return sound_play(b, 0); },
      [](SoundBuffer *b) { return sound_is_playing(b); },
      [](SoundBuffer *b) { return sound_set_volume(b, -100); },
  };
  for (Operation op : operations) {
    control::reset();
    control::open_window("FS98MAIN");
    Sound_Available = 1;
    SoundChannel c = open(kSwitchClick);
    ASSERT_EQ(control::live_objects(), 2u);
    control::fail_next_call();
    EXPECT_EQ(op(&c.buffer), 0);
    EXPECT_EQ(c.buffer, nullptr);
    EXPECT_EQ(control::live_objects(), 1u);
    EXPECT_EQ(Sound_Available, 0);
    sound_release(&c.device);
  }
}

TEST_F(SoundTest, ADeviceNeedsTheHostsMainWindow) {
  control::close_window("FS98MAIN");
  void *device = nullptr;
  EXPECT_EQ(sound_find_host_window(), nullptr);
  EXPECT_EQ(sound_create_device(nullptr, &device), 0);
  EXPECT_EQ(device, nullptr);
  EXPECT_EQ(control::live_objects(), 0u);
  EXPECT_EQ(Sound_Available, 0);
}

TEST_F(SoundTest, TheProgramsNameChoosesTheWindow) {
  control::open_window("MSCFSMAIN");
  void *fs = sound_find_host_window();
  control::set_program_path("D:\\CFS3\\CFS3.EXE");
  void *cfs = sound_find_host_window();
  EXPECT_NE(fs, nullptr);
  EXPECT_NE(cfs, nullptr);
  EXPECT_NE(fs, cfs);
  EXPECT_EQ(cfs, platform::find_window("MSCFSMAIN"));
  control::close_window("MSCFSMAIN");
  EXPECT_EQ(sound_find_host_window(), nullptr);
}

TEST_F(SoundTest, LoadingReplacesAndReleasesTheBufferItIsGiven) {
  SoundChannel c = open(kSwitchClick);
  void *first = c.buffer;
  EXPECT_EQ(sound_load_wave(c.window, c.device, &c.buffer, 1420, handle()), 4900u);
  EXPECT_NE(c.buffer, first);
  EXPECT_EQ(control::live_objects(), 2u);
  // A failing buffer creation leaves no buffer behind.
  control::fail_next_call();
  EXPECT_EQ(sound_load_wave(c.window, c.device, &c.buffer, 1420, handle()), 0u);
  EXPECT_EQ(c.buffer, nullptr);
  EXPECT_EQ(control::live_objects(), 1u);
}

TEST_F(SoundTest, ClickChannelIsSharedByTheKindsInstances) {
  ClickSound click;
  click_install(click, handle());
  click_install(click, handle());
  EXPECT_EQ(control::live_objects(), 2u);
  click_play(click);
  EXPECT_EQ(plays.size(), 1u);
  click_kill(click);
  EXPECT_EQ(control::live_objects(), 2u);  // the other instance still clicks
  click_play(click);
  control::set_time(0.1);
  click_play(click);
  EXPECT_EQ(plays.size(), 2u);
  click_kill(click);
  EXPECT_EQ(control::live_objects(), 0u);
  EXPECT_EQ(click.channel.buffer, nullptr);
  EXPECT_EQ(click.channel.device, nullptr);
  click_kill(click);  // one kill too many does nothing
  EXPECT_EQ(click.installs, 0);
  // A panel reload opens it again.
  click_install(click, handle());
  EXPECT_EQ(control::live_objects(), 2u);
  click_kill(click);
  EXPECT_EQ(Sound_Available, 1);
}

TEST_F(SoundTest, ASilencedClickStillOpensAndClosesItsDevice) {
  Sound_Available = 0;
  ClickSound click;
  click_install(click, handle());
  EXPECT_NE(click.channel.device, nullptr);  // devices are always attempted
  EXPECT_EQ(click.channel.buffer, nullptr);
  click_play(click);
  EXPECT_TRUE(plays.empty());
  click_kill(click);
  EXPECT_EQ(control::live_objects(), 0u);
}

TEST_F(SoundTest, ReleasingWhilePlayingCutsTheSound) {
  SoundChannel c = open(1340);
  sound_play(&c.buffer, 0);
  control::set_time(0.25);
  sound_release(&c.buffer);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_DOUBLE_EQ(plays[0]->end, 0.25);
  sound_release(&c.buffer);  // null: nothing
  sound_release(&c.device);
  EXPECT_EQ(control::live_objects(), 0u);
}

// --- the sound layer on its own

class SoundLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control::reset();
    control::open_window("FS98MAIN");
    ASSERT_TRUE(platform::sound_create_device(&device));
    ASSERT_TRUE(platform::sound_set_cooperative_level(device, platform::find_window("FS98MAIN"),
                                                      platform::kCooperativeNormal));
  }
  void TearDown() override { control::reset(); }

  bool create(const platform::WaveFormat &f, std::uint32_t bytes, void **buffer) {
    platform::BufferDescription d;
    d.flags = 0x80E0;
    d.bytes = bytes;
    d.format = &f;
    return platform::sound_create_buffer(device, d, buffer);
  }

  static platform::WaveFormat mono8() { return {1, 1, 11025, 11025, 1, 8, 0}; }
  void *device = nullptr;
};

TEST_F(SoundLayerTest, RefusesFormatsItCannotPlay) {
  void *b = nullptr;
  auto f = mono8();
  EXPECT_TRUE(create(f, 4, &b));
  EXPECT_FALSE(create(f, 3, &b));
  EXPECT_FALSE(create(f, platform::kMaxWaveData + 1, &b));
  auto bits = f;
  bits.bits_per_sample = 12;
  auto channels = f;
  channels.channels = 3;
  auto align = f;
  align.block_align = 2;
  auto rate = f;
  rate.samples_per_sec = rate.avg_bytes_per_sec = 50;
  auto tag = f;
  tag.format_tag = 2;
  for (const auto &bad : {bits, channels, align, rate, tag}) EXPECT_FALSE(create(bad, 100, &b));
  platform::BufferDescription small;
  small.size = 20;
  small.bytes = 100;
  small.format = &f;
  EXPECT_FALSE(platform::sound_create_buffer(device, small, &b));
}

TEST_F(SoundLayerTest, BuffersNeedABoundDevice) {
  void *unbound = nullptr, *b = nullptr;
  ASSERT_TRUE(platform::sound_create_device(&unbound));
  EXPECT_FALSE(platform::sound_set_cooperative_level(unbound, nullptr, 1));
  EXPECT_FALSE(platform::sound_set_cooperative_level(unbound, device, 1));  // not a window
  auto f = mono8();
  platform::BufferDescription d;
  d.bytes = 100;
  d.format = &f;
  EXPECT_FALSE(platform::sound_create_buffer(unbound, d, &b));
  EXPECT_FALSE(platform::sound_create_buffer(nullptr, d, &b));
}

TEST_F(SoundLayerTest, LocksWrapAndMustBeClosedWithTheirOwnRegions) {
  void *b = nullptr;
  ASSERT_TRUE(create(mono8(), 100, &b));
  void *r1 = nullptr, *r2 = nullptr;
  std::uint32_t n1 = 0, n2 = 0;
  ASSERT_TRUE(platform::sound_lock(b, 80, 30, &r1, &n1, &r2, &n2));
  EXPECT_EQ(n1, 20u);
  EXPECT_EQ(n2, 10u);
  EXPECT_EQ(static_cast<std::uint8_t *>(r1) - static_cast<std::uint8_t *>(r2), 80);
  EXPECT_FALSE(platform::sound_lock(b, 0, 10, &r1, &n1, &r2, &n2));  // one lock at a time
  EXPECT_FALSE(platform::sound_unlock(b, r2, n1, r1, n2));
  EXPECT_TRUE(platform::sound_unlock(b, r1, n1, r2, n2));
  EXPECT_FALSE(platform::sound_unlock(b, r1, n1, r2, n2));
  EXPECT_FALSE(platform::sound_lock(b, 100, 1, &r1, &n1, &r2, &n2));
  EXPECT_FALSE(platform::sound_lock(b, 0, 101, &r1, &n1, &r2, &n2));
  EXPECT_FALSE(platform::sound_set_position(b, 100));
  EXPECT_FALSE(platform::sound_play(b, 1));  // no looping
}

TEST_F(SoundLayerTest, ReleasingADeviceReleasesItsBuffersAndStaleHandlesFail) {
  void *b = nullptr;
  ASSERT_TRUE(create(mono8(), 100, &b));
  platform::sound_release(device);
  EXPECT_EQ(control::live_objects(), 0u);
  std::uint32_t status = 0;
  EXPECT_FALSE(platform::sound_play(b, 0));
  EXPECT_FALSE(platform::sound_status(b, &status));
  EXPECT_FALSE(platform::sound_set_volume(b, 0));
  EXPECT_FALSE(platform::sound_play(reinterpret_cast<void *>(0x1234567), 0));
  platform::sound_release(b);  // already gone: nothing
  platform::sound_release(nullptr);
}

TEST_F(SoundLayerTest, AChangeWhilePlayingContinuesFromThePlayCursor) {
  std::vector<std::shared_ptr<const control::Playback>> plays;
  control::on_playback([&](std::shared_ptr<const control::Playback> p) { plays.push_back(p); });
  void *b = nullptr;
  ASSERT_TRUE(create(mono8(), 11025, &b));  // one second
  ASSERT_TRUE(platform::sound_play(b, 0));
  control::set_time(0.5);
  ASSERT_TRUE(platform::sound_set_volume(b, -600));
  ASSERT_EQ(plays.size(), 2u);
  EXPECT_DOUBLE_EQ(plays[0]->end, 0.5);
  EXPECT_FALSE(plays[1]->started);
  EXPECT_EQ(plays[1]->offset, 5512u);
  EXPECT_EQ(plays[1]->volume, -600);
  EXPECT_NEAR(plays[1]->end, 1.0, 1e-3);
  control::set_time(1.01);
  std::uint32_t status = 1;
  ASSERT_TRUE(platform::sound_status(b, &status));
  EXPECT_EQ(status, 0u);
}

}  // namespace
