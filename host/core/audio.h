// The host's side of sound: what the simulator and the sound card do for a
// module that plays sounds. The host opens its main window (so the module's
// sound devices can bind to it), owns the audio clock (each frame moves it
// 1/18 s; a sound plays for its length in that time), logs every sound that
// starts with the module's WAVE id, the gauge that started it, the time and
// the volume, and mixes everything played into one track.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/module.h"
#include "host/core/sound_match.h"
#include "platform/platform_control.h"

namespace z480 {

struct SoundStart {
  std::int32_t wave_id = 0;  // the module's WAVE resource whose data plays; 0 unknown
  std::string gauge;         // alias of the instance whose callback started it
  double time = 0;           // host seconds
  std::int32_t volume = 0;   // hundredths of a decibel
};

class Audio {
 public:
  // What the substitute host calls itself: a program of kind 1, whose main
  // window has class "FS98MAIN".
  static constexpr const char *kMainWindowClass = "FS98MAIN";
  static constexpr int kMixRate = 22050;

  // Takes over the machine's sound layer for this module: everything from
  // an earlier host is forgotten.
  explicit Audio(Module &module);
  ~Audio();
  Audio(const Audio &) = delete;
  Audio &operator=(const Audio &) = delete;

  void set_time(double seconds);

  // The host's main window: its class, or none ("").
  void set_main_window(const std::string &class_name);
  // The program file name the module sees.
  void set_program_path(const std::string &path);
  // The next call into the sound layer that can fail does.
  void fail_next_call();

  // Marks the instance whose callback runs, for the log.
  class Caller {
   public:
    Caller(Audio &audio, const std::string &alias);
    ~Caller();
    Caller(const Caller &) = delete;
    Caller &operator=(const Caller &) = delete;

   private:
    Audio &audio_;
    const std::string *previous_;
  };

  // Throws (a command that cannot be carried out) when this build's host
  // does not hear the module's sounds.
  void require_hearing() const;
  const std::vector<SoundStart> &started() const { return started_; }
  // Where the host hears the module only through a recording of the sound
  // card: waits until the card has played every sound started so far and
  // names each by what the recording holds where it began (0 where it holds
  // none of the module's sounds). Elsewhere the names are known at once.
  void settle();
  // Runs `check` once every sound started so far is named: at once where
  // names are known at once; else when the host's clock has passed their
  // end or the run settles, so that a check does not hold the clock while
  // the card plays on (a switch clicked again at once still finds its
  // click sounding).
  void when_named(std::function<void()> check);
  // Called for every sound as it starts.
  void on_start(std::function<void(const SoundStart &)> listener) { on_start_ = std::move(listener); }
  // The sounds started since the previous call: their places in started().
  std::pair<std::size_t, std::size_t> take_new_starts();

  // When the last sound played so far ends (0 when none played).
  double end_of_sound() const;
  // Everything played in the first `seconds` seconds, mixed at kMixRate:
  // mono, 16-bit, each sound at its volume.
  std::vector<std::int16_t> mix(double seconds) const;

 private:
  void heard(std::shared_ptr<const platform::control::Playback> playback);
  // Where the recording holds a play to its end.
  std::uint64_t recorded_end(const platform::control::Playback &p) const;
  // Waits on the sound card until the recording reaches `position`.
  void wait_for_card(std::uint64_t position) const;
  void name_from_recording();

  struct Pending {
    std::size_t start;  // index into started_
    std::int32_t written_id;  // the resource whose data the module wrote into the buffer
    std::shared_ptr<const platform::control::Playback> playback;
  };

  const std::vector<WaveFingerprint> &waves_;
  std::string window_class_;
  const std::string *caller_ = nullptr;  // alias of the instance called
  std::vector<std::shared_ptr<const platform::control::Playback>> playbacks_;
  std::vector<SoundStart> started_;
  std::function<void(const SoundStart &)> on_start_;
  std::size_t taken_ = 0;
  // Hearing through a recording: the module's resources to match, the
  // starts not yet named, the plays whose end the host clock has not yet
  // passed, and how far the recording has been searched.
  Module &module_;
  std::optional<SoundMatcher> matcher_;
  std::vector<Pending> pending_;
  std::vector<std::shared_ptr<const platform::control::Playback>> sounding_;
  std::uint64_t searched_ = 0;
  std::vector<std::function<void()>> checks_;
  struct Measured {
    std::size_t named = 0, unheard = 0;
    std::uint64_t delay_min = ~0ull, delay_max = 0;  // recording samples
    double fit_min = 1;
  } measured_;
};

// Collects the mixes of several runs one after another, for `--wav`.
class SoundRecording {
 public:
  // Longer recordings are cut: an hour of 16-bit audio is 160 MB.
  static constexpr double kMaxSeconds = 3600;

  // Appends the run's track, `seconds` long (or to the end of its last sound).
  void add(const Audio &audio, double seconds);
  const std::vector<std::int16_t> &samples() const { return samples_; }
  bool truncated() const { return truncated_; }
  // Writes a RIFF WAVE file: PCM, mono, 16-bit, Audio::kMixRate.
  bool write(const std::string &path, std::string *error) const;

 private:
  std::vector<std::int16_t> samples_;
  bool truncated_ = false;
};

}  // namespace z480
