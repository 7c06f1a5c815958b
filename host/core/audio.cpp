#include "host/core/audio.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "host/core/sound_match.h"
#include "platform/resources.h"
#include "platform/wave.h"

namespace z480 {
namespace {

namespace control = platform::control;

// Adds one stretch to the track, resampled by linear interpolation.
void add_playback(std::vector<float> &track, const control::Playback &p) {
  const platform::WaveFormat &f = p.format;
  const std::vector<std::uint8_t> &data = *p.data;
  if (f.block_align == 0 || f.samples_per_sec == 0 || p.offset >= data.size()) return;
  std::size_t frames = (data.size() - p.offset) / f.block_align;
  if (frames == 0) return;
  auto value = [&](std::size_t k) { return pcm_frame_value(f, &data[p.offset + k * f.block_align]); };
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

Audio::Audio(Module &module) : waves_(module.wave_fingerprints()), module_(module) {
  control::reset();
  control::watch_module(module.handle());
  searched_ = control::recorded();
  set_main_window(kMainWindowClass);
  control::on_playback([this](std::shared_ptr<const control::Playback> p) { heard(std::move(p)); });
}

Audio::~Audio() {
  control::on_playback(nullptr);
  // What the run measured of the sound card, for whoever tunes the margins
  // (beside the run's report: Wine's own standard error is filtered).
  if (measured_.named + measured_.unheard > 0 && std::getenv("Z480_SOUND_MEASURES")) {
    double rate = control::recording_rate();
    std::printf("sound card: %zu sounds named, %zu unheard; mixing delay %.1f to %.1f ms; "
                 "weakest fit %.4f\n",
                 measured_.named, measured_.unheard, measured_.delay_min * 1000.0 / rate,
                 measured_.delay_max * 1000.0 / rate, measured_.fit_min);
  }
}

// Where the host hears only the card's recording, its clock keeps pace with
// the card: the clock does not pass a sound's end before the card has
// played that sound out (after which DirectSound reports it stopped, as the
// host's clock says). The card's clock, not a timer, so a loaded machine
// changes nothing but the wall time.
void Audio::set_time(double seconds) {
  control::set_time(seconds);
  if (sounding_.empty()) return;
  std::uint64_t until = 0;
  std::erase_if(sounding_, [&](const auto &p) {
    if (p->end > seconds) return false;
    until = std::max(until, recorded_end(*p));
    return true;
  });
  if (until) wait_for_card(until);
  if (sounding_.empty() && !pending_.empty()) name_from_recording();
}

void Audio::when_named(std::function<void()> check) {
  if (pending_.empty()) return check();
  checks_.push_back(std::move(check));
}

std::uint64_t Audio::recorded_end(const control::Playback &p) const {
  double seconds = std::max(0.0, p.end - p.start);
  return p.recorded_before + control::mixing_delay() +
         static_cast<std::uint64_t>(std::ceil(seconds * control::recording_rate()));
}

void Audio::wait_for_card(std::uint64_t position) const {
  if (!control::wait_recorded(position))
    throw std::runtime_error("the sound card stopped: its recording stands still at " +
                             std::to_string(control::recorded()) + " samples");
}

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
    if (control::recording_rate() > 0) {
      pending_.push_back({started_.size(), id, p});
      sounding_.push_back(p);
      id = 0;  // named once the card has played it
    }
    started_.push_back({id, caller_ ? *caller_ : std::string(), p->start, p->volume});
    if (on_start_) on_start_(started_.back());
  }
  playbacks_.push_back(std::move(p));
}

void Audio::settle() {
  if (pending_.empty()) return;
  std::uint64_t end = 0;
  for (const Pending &p : pending_) end = std::max(end, recorded_end(*p.playback));
  wait_for_card(end);
  name_from_recording();
}

// Each start is named by a sound the recording holds where the start says it
// lies: after the recording's end at the start, within the card's mixing
// delay. Of those, the earliest not yet taken; a sound of the resource the
// module wrote into the buffer first, where several began together.
void Audio::name_from_recording() {
  double rate = control::recording_rate();
  if (!matcher_) {
    matcher_.emplace();
    for (const platform::ResourceEntry &e : platform::resource_directory(module_.handle())) {
      if (!e.type || std::string(e.type) != "WAVE") continue;
      if (auto wave = platform::parse_wave({e.data, e.size}))
        matcher_->add(static_cast<std::int32_t>(e.id), wave->format, wave->data);
    }
  }
  std::uint64_t from = searched_, to = 0;
  for (const Pending &p : pending_) {
    from = std::min(from, p.playback->recorded_before);
    to = std::max(to, recorded_end(*p.playback));
  }
  struct Found {
    std::int32_t id;
    std::uint64_t at;
    double gain, fit;
    bool taken = false;
    std::uint64_t taken_before = 0;  // the recording's end at the start it names
  };
  std::vector<Found> found;
  static const bool tell = std::getenv("Z480_SOUND_MEASURES") != nullptr;
  for (const HeardSound &h : matcher_->find(control::recording(from, to), rate)) {
    if (tell)
      std::printf("sound card: heard %d at %.4f s, gain %.3f, fit %.4f\n", h.wave_id,
                  static_cast<double>(from) / rate + h.at, h.gain, h.fit);
    found.push_back({h.wave_id, from + static_cast<std::uint64_t>(std::llround(h.at * rate)),
                     h.gain, h.fit});
  }
  // The matcher may place a start a filter's width early.
  const auto early = static_cast<std::uint64_t>(0.005 * rate);
  for (const Pending &p : pending_) {
    std::uint64_t first = p.playback->recorded_before, last = first + control::mixing_delay();
    Found *pick = nullptr;
    for (Found &f : found) {
      // Sounds started between two passes of the card's mixer begin at one
      // sample and are heard as one: it names each of those starts.
      if ((f.taken && f.taken_before != first) || f.at + early < first || f.at > last) continue;
      if (!pick || (f.id == p.written_id && pick->id != p.written_id)) pick = &f;
    }
    if (!pick) {
      ++measured_.unheard;
      continue;
    }
    pick->taken = true;
    pick->taken_before = first;
    started_[p.start].wave_id = pick->id;
    ++measured_.named;
    std::uint64_t delay = pick->at > first ? pick->at - first : 0;
    measured_.delay_min = std::min(measured_.delay_min, delay);
    measured_.delay_max = std::max(measured_.delay_max, delay);
    measured_.fit_min = std::min(measured_.fit_min, pick->fit);
  }
  pending_.clear();
  searched_ = std::max(searched_, to);
  std::vector<std::function<void()>> checks = std::move(checks_);
  checks_.clear();
  for (auto &check : checks) check();
}

std::pair<std::size_t, std::size_t> Audio::take_new_starts() {
  std::pair<std::size_t, std::size_t> fresh{taken_, started_.size()};
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
