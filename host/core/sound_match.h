// Finds the module's sounds in a recording of what the sound card played:
// each onset in the track is matched against every WAVE resource by
// correlation, the best fit subtracted, and the search goes on in what is
// left, so sounds that overlap are told apart and two copies of one sound
// started together count twice. Both sides are brought to one analysis rate
// through the same low-pass filter first, so that the sound card's own
// resampling does not spoil the fit.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/wave.h"

namespace z480 {

// Band-limited resampling (windowed sinc) with everything above cutoff_hz
// removed.
std::vector<float> resample(std::span<const float> in, double rate_in, double rate_out,
                            double cutoff_hz);

// One frame of 8- or 16-bit PCM as a value from -1 to 1, the channels
// averaged.
float pcm_frame_value(const platform::WaveFormat &format, const std::uint8_t *frame);

// PCM frames as values from -1 to 1, the channels averaged; nothing for a
// format other than 8- or 16-bit PCM.
std::vector<float> pcm_values(const platform::WaveFormat &format,
                              std::span<const std::uint8_t> data);

struct HeardSound {
  std::int32_t wave_id = 0;
  double at = 0;        // seconds from the start of the track where its data begins
  double gain = 0;      // its loudness against the resource (1: as stored)
  double fit = 0;       // normalised correlation with the resource, up to 1
  int copies = 1;       // copies started together (a gain near 2 is two)
};

class SoundMatcher {
 public:
  static constexpr double kRate = 12000;     // the analysis rate
  static constexpr double kCutoff = 4900;    // below the slowest sound's Nyquist frequency
  static constexpr double kMinFit = 0.6;     // a weaker fit is no sound of ours

  // A resource the track may hold.
  void add(std::int32_t wave_id, const platform::WaveFormat &format,
           std::span<const std::uint8_t> data);
  bool empty() const { return templates_.empty(); }

  // Everything heard in a mono track at `rate`, in the order the sounds begin.
  std::vector<HeardSound> find(std::span<const float> track, double rate) const;

 private:
  struct Template {
    std::int32_t wave_id;
    std::vector<float> samples;  // at kRate
    double energy;
    // Where the data first rises above the onset threshold at the loudest
    // and at the quietest gain that is looked for.
    std::size_t lead_loud, lead_quiet;
  };
  std::vector<Template> templates_;
};

}  // namespace z480
