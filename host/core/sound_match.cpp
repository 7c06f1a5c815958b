#include "host/core/sound_match.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace z480 {
namespace {

// Zero crossings of the sinc kept on either side of the centre.
constexpr double kZeroCrossings = 8;
// Steps of the kernel table per input sample.
constexpr int kTableSteps = 256;

// An onset is where the signal first stands this far from silence (about
// -34 dB of full scale), above what the sounds already found leave behind.
constexpr float kThreshold = 0.02f;
// The gains an onset is looked for at: two sounds at full volume started
// together (more only begin a little earlier: the slack covers them), down
// to -12 dB. Above the noise floor of 8-bit data, too.
constexpr double kLoudest = 2.0, kQuietest = 0.25;
// How far a sound's start may lie from where its onset predicts (2 ms), how
// much of a sound places it (the first 60 ms, tried every kCoarse samples,
// then sample by sample about the best), how far the search moves on past
// an onset that fits nothing (10 ms).
constexpr std::size_t kSlack = 24, kProbe = 720, kCoarse = 2, kCandidates = 4, kSkip = 120;
// What a found sound may leave of itself in the residue without it counting
// as an onset: the fit is never exact where the sound card clips.
constexpr float kMaskShare = 0.15f;
constexpr std::size_t kMaskSpread = 24;
constexpr int kMaxTries = 2000;

double blackman(double u) {
  return 0.42 + 0.5 * std::cos(std::numbers::pi * u) + 0.08 * std::cos(2 * std::numbers::pi * u);
}

double dot(std::span<const float> a, std::size_t from, std::span<const float> b, std::size_t n) {
  n = std::min(n, a.size() > from ? a.size() - from : 0);
  double s = 0;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<double>(a[from + i]) * b[i];
  return s;
}

double energy(std::span<const float> a, std::size_t from, std::size_t n) {
  return dot(a, from, a.subspan(std::min(from, a.size())), n);
}

struct Fit {
  double fit, dot, energy;
};

// How well the whole of a sound fits the track from `at`.
Fit fit(std::span<const float> r, std::size_t at, const std::vector<float> &t) {
  std::size_t n = std::min(t.size(), r.size() - at);
  double d = 0, rr = 0, tt = 0;
  for (std::size_t i = 0; i < n; ++i) {
    d += static_cast<double>(r[at + i]) * t[i];
    rr += static_cast<double>(r[at + i]) * r[at + i];
    tt += static_cast<double>(t[i]) * t[i];
  }
  return {rr > 0 && tt > 0 ? d / std::sqrt(rr * tt) : 0, d, tt};
}

std::size_t first_above(const std::vector<float> &v, double level, std::size_t fallback) {
  for (std::size_t i = 0; i < v.size(); ++i)
    if (std::fabs(v[i]) >= level) return i;
  return fallback;
}

}  // namespace

std::vector<float> resample(std::span<const float> in, double rate_in, double rate_out,
                            double cutoff_hz) {
  if (in.empty() || !(rate_in > 0) || !(rate_out > 0) || !(cutoff_hz > 0)) return {};
  double fc = std::min(cutoff_hz, 0.5 * std::min(rate_in, rate_out));
  double step = 2 * fc / rate_in;       // the sinc's argument per input sample
  double half = kZeroCrossings / step;  // the kernel's half width in input samples
  auto span = static_cast<std::size_t>(std::ceil(half * kTableSteps));
  std::vector<float> kernel(span + 2, 0.0f);
  for (std::size_t j = 0; j <= span; ++j) {
    double x = static_cast<double>(j) / kTableSteps;
    double z = std::numbers::pi * step * x;
    double sinc = j == 0 ? 1.0 : std::sin(z) / z;
    kernel[j] = static_cast<float>(step * sinc * blackman(std::min(1.0, x / half)));
  }
  auto n_out = static_cast<std::size_t>(static_cast<double>(in.size()) * rate_out / rate_in);
  std::vector<float> out(n_out, 0.0f);
  auto last = static_cast<std::ptrdiff_t>(in.size()) - 1;
  for (std::size_t n = 0; n < n_out; ++n) {
    double centre = static_cast<double>(n) * rate_in / rate_out;
    auto k0 = std::max<std::ptrdiff_t>(0, static_cast<std::ptrdiff_t>(std::ceil(centre - half)));
    auto k1 = std::min(last, static_cast<std::ptrdiff_t>(std::floor(centre + half)));
    double acc = 0;
    for (std::ptrdiff_t k = k0; k <= k1; ++k) {
      double at = std::fabs(static_cast<double>(k) - centre) * kTableSteps;
      auto j = static_cast<std::size_t>(at);
      if (j >= span) continue;
      double f = at - static_cast<double>(j);
      acc += in[static_cast<std::size_t>(k)] * (kernel[j] + f * (kernel[j + 1] - kernel[j]));
    }
    out[n] = static_cast<float>(acc);
  }
  return out;
}

float pcm_frame_value(const platform::WaveFormat &f, const std::uint8_t *frame) {
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

std::vector<float> pcm_values(const platform::WaveFormat &f, std::span<const std::uint8_t> data) {
  if (f.format_tag != platform::kWaveFormatPcm || f.channels == 0 ||
      (f.bits_per_sample != 8 && f.bits_per_sample != 16) ||
      f.block_align != f.channels * f.bits_per_sample / 8)
    return {};
  std::vector<float> out(data.size() / f.block_align);
  for (std::size_t k = 0; k < out.size(); ++k) out[k] = pcm_frame_value(f, &data[k * f.block_align]);
  return out;
}

void SoundMatcher::add(std::int32_t wave_id, const platform::WaveFormat &format,
                       std::span<const std::uint8_t> data) {
  std::vector<float> samples =
      resample(pcm_values(format, data), format.samples_per_sec, kRate, kCutoff);
  double energy = 0;
  for (float v : samples) energy += static_cast<double>(v) * v;
  if (!(energy > 0)) return;
  std::size_t loud = first_above(samples, kThreshold / kLoudest, 0);
  std::size_t quiet = std::max(loud, first_above(samples, kThreshold / kQuietest, loud));
  templates_.push_back({wave_id, std::move(samples), energy, loud, quiet});
}

std::vector<HeardSound> SoundMatcher::find(std::span<const float> track, double rate) const {
  std::vector<float> r = resample(track, rate, kRate, kCutoff);
  std::vector<float> mask(r.size(), 0.0f);
  std::vector<HeardSound> heard;
  std::size_t pos = 0;
  for (int tries = 0; tries < kMaxTries && !templates_.empty(); ++tries) {
    std::size_t o = pos;
    while (o < r.size() && std::fabs(r[o]) <= kThreshold + mask[o]) ++o;
    if (o >= r.size()) break;
    const Template *best = nullptr;
    std::size_t best_at = 0;
    double best_fit = 0, best_dot = 0, best_energy = 0;
    for (const Template &t : templates_) {
      std::size_t lo = o > t.lead_quiet + kSlack ? o - t.lead_quiet - kSlack : 0;
      std::size_t hi = std::min(o + kSlack > t.lead_loud ? o + kSlack - t.lead_loud : 0, r.size() - 1);
      std::size_t probe = std::min(kProbe, t.samples.size());
      // Normalised by the track's energy under the probe: a louder stretch
      // a pitch period away does not win.
      auto score = [&](std::size_t tau) {
        double e = energy(r, tau, probe);
        return e > 0 ? dot(r, tau, t.samples, probe) / std::sqrt(e) : 0.0;
      };
      // The few best places, each made exact sample by sample; of those, the
      // one the whole sound fits best.
      std::vector<std::pair<double, std::size_t>> coarse;
      for (std::size_t tau = lo; tau <= hi; tau += kCoarse) coarse.emplace_back(score(tau), tau);
      std::size_t keep = std::min(kCandidates, coarse.size());
      std::partial_sort(coarse.begin(), coarse.begin() + static_cast<std::ptrdiff_t>(keep),
                        coarse.end(), std::greater<>());
      for (std::size_t c = 0; c < keep; ++c) {
        std::size_t centre = coarse[c].second, at = centre;
        double top = coarse[c].first;
        for (std::size_t tau = centre > kCoarse ? centre - kCoarse : 0; tau <= centre + kCoarse; ++tau)
          if (double v = score(tau); v > top) top = v, at = tau;
        Fit f = fit(r, at, t.samples);
        if (f.fit > best_fit)
          best = &t, best_at = at, best_fit = f.fit, best_dot = f.dot, best_energy = f.energy;
      }
    }
    if (!best || best_fit < kMinFit) {
      pos = o + kSkip;
      continue;
    }
    double gain = best_dot / best_energy;
    std::size_t n = std::min(best->samples.size(), r.size() - best_at);
    for (std::size_t i = 0; i < n; ++i) {
      r[best_at + i] -= static_cast<float>(gain) * best->samples[i];
      float level = kMaskShare * static_cast<float>(gain) * std::fabs(best->samples[i]);
      std::size_t a = best_at + i > kMaskSpread ? best_at + i - kMaskSpread : 0;
      std::size_t b = std::min(r.size(), best_at + i + kMaskSpread + 1);
      for (std::size_t j = a; j < b; ++j) mask[j] = std::max(mask[j], level);
    }
    pos = std::min(o, best_at);
    // What an inexact fit left of a sound is that sound, not another copy.
    double at = static_cast<double>(best_at) / kRate;
    auto same = std::find_if(heard.begin(), heard.end(), [&](const HeardSound &h) {
      return h.wave_id == best->wave_id && std::fabs(h.at - at) * kRate <= kSlack;
    });
    if (same != heard.end()) {
      same->gain += gain;
    } else {
      heard.push_back({best->wave_id, at, gain, best_fit, 1});
    }
  }
  for (HeardSound &h : heard) h.copies = std::max(1, static_cast<int>(std::lround(h.gain)));
  std::stable_sort(heard.begin(), heard.end(),
                   [](const HeardSound &a, const HeardSound &b) { return a.at < b.at; });
  return heard;
}

}  // namespace z480
