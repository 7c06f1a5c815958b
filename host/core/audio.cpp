#include "host/core/audio.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "platform/wave.h"

namespace z480 {
namespace {

namespace control = platform::control;

// One frame of PCM as a value from -1 to 1, the channels averaged.
float frame_value(const platform::WaveFormat &f, const std::uint8_t *frame) {
  float sum = 0;
  for (int c = 0; c < f.channels; ++c) {
    if (f.bits_per_sample == 8) {
      sum += (static_cast<float>(frame[c]) - 128.0f) / 128.0f;
    } else {
      const std::uint8_t *s = frame + 2 * c;
      auto v = static_cast<std::int16_t>(static_cast<std::uint16_t>(s[0] | s[1] << 8));
      sum += static_cast<float>(v) / 32768.0f;
    }
  }
  return sum / static_cast<float>(f.channels);
}

// Adds one stretch to the track, resampled by linear interpolation.
void add_playback(std::vector<float> &track, const control::Playback &p) {
  const platform::WaveFormat &f = p.format;
  const std::vector<std::uint8_t> &data = *p.data;
  if (f.block_align == 0 || f.samples_per_sec == 0 || p.offset >= data.size()) return;
  std::size_t frames = (data.size() - p.offset) / f.block_align;
  if (frames == 0) return;
  auto value = [&](std::size_t k) { return frame_value(f, &data[p.offset + k * f.block_align]); };
  const double rate = Audio::kMixRate;
  const float gain = static_cast<float>(std::pow(10.0, p.volume / 2000.0));
  auto first = static_cast<std::size_t>(std::ceil(p.start * rate));
  auto last = std::min(track.size(), static_cast<std::size_t>(std::ceil(p.end * rate)));
  for (std::size_t i = first; i < last; ++i) {
    double at = std::max(0.0, (i / rate - p.start) * f.samples_per_sec);
    auto k = static_cast<std::size_t>(at);
    if (k >= frames) break;
    float a = value(k);
    float b = k + 1 < frames ? value(k + 1) : a;
    track[i] += gain * (a + (b - a) * static_cast<float>(at - static_cast<double>(k)));
  }
}

std::int16_t to_pcm16(float v) {
  float clipped = std::clamp(v, -1.0f, 1.0f);
  return static_cast<std::int16_t>(std::lround(clipped * 32767.0f));
}

void put16(std::ostream &out, std::uint16_t v) {
  char b[2] = {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
  out.write(b, 2);
}
void put32(std::ostream &out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xffff));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace

Audio::Audio(Module &module) : waves_(module.wave_fingerprints()) {
  control::reset();
  set_main_window(kMainWindowClass);
  control::on_playback([this](std::shared_ptr<const control::Playback> p) { heard(std::move(p)); });
}

Audio::~Audio() { control::on_playback(nullptr); }

void Audio::set_time(double seconds) { control::set_time(seconds); }

void Audio::set_main_window(const std::string &class_name) {
  if (!window_class_.empty()) control::close_window(window_class_);
  window_class_ = class_name;
  if (!class_name.empty()) control::open_window(class_name);
}

void Audio::require_hearing() const {
  if (!control::hears_playback())
    throw std::runtime_error(
        "this build's host does not hear the module's sounds (DirectSound plays them inside the "
        "module)");
}

void Audio::set_program_path(const std::string &path) { control::set_program_path(path); }

void Audio::fail_next_call() { control::fail_next_call(); }

Audio::Caller::Caller(Audio &audio, const std::string &alias)
    : audio_(audio), previous_(audio.caller_) {
  audio_.caller_ = &alias;
}
Audio::Caller::~Caller() { audio_.caller_ = previous_; }

void Audio::heard(std::shared_ptr<const control::Playback> p) {
  if (p->started) {
    std::uint64_t print = wave_fingerprint(*p->data);
    std::int32_t id = 0;
    for (const WaveFingerprint &w : waves_)
      if (w.fingerprint == print) id = w.wave_id;
    started_.push_back({id, caller_ ? *caller_ : std::string(), p->start, p->volume});
    if (on_start_) on_start_(started_.back());
  }
  playbacks_.push_back(std::move(p));
}

std::vector<SoundStart> Audio::take_new_starts() {
  std::vector<SoundStart> fresh(started_.begin() + static_cast<std::ptrdiff_t>(taken_),
                                started_.end());
  taken_ = started_.size();
  return fresh;
}

double Audio::end_of_sound() const {
  double end = 0;
  for (const auto &p : playbacks_) end = std::max(end, p->end);
  return end;
}

std::vector<std::int16_t> Audio::mix(double seconds) const {
  if (!(seconds > 0)) return {};
  std::vector<float> track(static_cast<std::size_t>(std::ceil(seconds * kMixRate)), 0.0f);
  for (const auto &p : playbacks_) add_playback(track, *p);
  std::vector<std::int16_t> out(track.size());
  std::transform(track.begin(), track.end(), out.begin(), to_pcm16);
  return out;
}

void SoundRecording::add(const Audio &audio, double seconds) {
  double room = kMaxSeconds - static_cast<double>(samples_.size()) / Audio::kMixRate;
  double length = std::max(seconds, audio.end_of_sound());
  if (length > room) {
    truncated_ = true;
    length = room;
  }
  std::vector<std::int16_t> track = audio.mix(length);
  samples_.insert(samples_.end(), track.begin(), track.end());
}

bool SoundRecording::write(const std::string &path, std::string *error) const {
  std::ofstream out(path, std::ios::binary);
  if (!out) {
    *error = "cannot write " + path;
    return false;
  }
  auto bytes = static_cast<std::uint32_t>(samples_.size() * 2);
  out.write("RIFF", 4);
  put32(out, 36 + bytes);
  out.write("WAVEfmt ", 8);
  put32(out, 16);
  put16(out, platform::kWaveFormatPcm);
  put16(out, 1);
  put32(out, Audio::kMixRate);
  put32(out, Audio::kMixRate * 2);
  put16(out, 2);
  put16(out, 16);
  out.write("data", 4);
  put32(out, bytes);
  for (std::int16_t s : samples_) put16(out, static_cast<std::uint16_t>(s));
  out.close();
  if (!out) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace z480
