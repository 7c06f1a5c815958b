// The other side of the machine's sound layer, for the host that loads the
// module: it owns the window classes, the program name, the audio clock, and
// sees every sound that plays. Real hardware plays in real time; here the
// host's clock decides when a sound has ended, so runs are repeatable.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/wave.h"

namespace platform::control {

// One stretch of a buffer playing: from `offset` (a byte in `data`) at host
// time `start` until `end`. `end` is where the data runs out, moved earlier
// when the play is cut (buffer released, volume or position changed while
// playing; a change continues in a new stretch with `started` false).
struct Playback {
  std::uint64_t buffer = 0;  // serial number of the buffer
  WaveFormat format;
  std::shared_ptr<const std::vector<std::uint8_t>> data;
  std::uint32_t offset = 0;
  double start = 0;
  double end = 0;
  std::int32_t volume = 0;  // hundredths of a decibel
  bool started = true;      // a play began here (not a continuation)
  // Where the host hears the sound card's recording: how much of it was
  // recorded when the play began. The sound lies after that, at most the
  // card's mixing delay later.
  std::uint64_t recorded_before = 0;
};

using PlaybackListener = std::function<void(std::shared_ptr<const Playback>)>;

// Forgets every device, buffer, window and pending failure, sets the clock
// to 0 and the program name to the real one, drops the listener.
void reset();

// The audio clock in seconds; it only moves forward.
void set_time(double seconds);
double time();

// Top-level windows by class name (what find_window finds).
void open_window(const std::string &class_name);
void close_window(const std::string &class_name);

// The program name program_path() reports; empty: the real one.
void set_program_path(const std::string &path);

// The next sound call that can fail does.
void fail_next_call();

// Called for every stretch that begins to play.
void on_playback(PlaybackListener listener);

// Whether the listener hears what plays. Where the module plays through a
// sound layer of its own (DirectSound inside a Windows module) the host
// neither hears its sounds nor makes its calls fail.
bool hears_playback();

// Devices and buffers not yet released.
std::size_t live_objects();

// --- a recording of the sound card, where the module plays through a sound
// layer of its own and the host hears it only as the card plays it

// Its sample rate (mono); 0 where the host hears the sound layer directly.
double recording_rate();
// Samples recorded so far.
std::uint64_t recorded();
// The samples [from, to) recorded, as values from -1 to 1 (fewer when the
// recording is shorter).
std::vector<float> recording(std::uint64_t from, std::uint64_t to);
// Waits on the sound card's clock until `position` is recorded; false when
// the recording stood still for seconds on end (the card stopped).
bool wait_recorded(std::uint64_t position);
// The card's mixing delay at most: how far past `recorded_before` a play's
// first sample may lie in the recording.
std::uint64_t mixing_delay();

// The module whose sound calls the host follows (to make one fail, and to
// see each play begin); called once it is loaded.
void watch_module(void *module_handle);

}  // namespace platform::control
