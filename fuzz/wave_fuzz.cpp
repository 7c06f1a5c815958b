// Arbitrary bytes through the RIFF WAVE reader: whatever it accepts must lie
// inside the bytes and hold a whole format record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  auto wave = platform::parse_wave(bytes);
  if (!wave) return 0;
  const std::uint8_t *begin = wave->data.data();
  if (wave->data.empty() || begin < data || begin + wave->data.size() > data + size ||
      wave->data.size() > platform::kMaxWaveData)
    std::abort();
  // Touch every byte so the sanitizers see any read outside the input.
  unsigned sum = 0;
  for (std::uint8_t b : wave->data) sum += b;
  return static_cast<int>(sum & 0);
}
