// RIFF WAVE data read from memory: the wave format record of the "fmt "
// chunk and the PCM bytes of the "data" chunk. This is the part of the
// machine's multimedia file services that the sound engine and the host use.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace platform {

// The wave format record as a RIFF "fmt " chunk stores it (18 bytes,
// little-endian; a 16-byte record has no extra-size field, read as 0).
struct WaveFormat {
  std::uint16_t format_tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samples_per_sec = 0;
  std::uint32_t avg_bytes_per_sec = 0;
  std::uint16_t block_align = 0;
  std::uint16_t bits_per_sample = 0;
  std::uint16_t extra_size = 0;
};

inline constexpr std::uint16_t kWaveFormatPcm = 1;
// The largest sound buffer the sound layer makes; longer data is refused.
inline constexpr std::uint32_t kMaxWaveData = 0x0FFFFFFF;

struct WaveData {
  WaveFormat format;
  std::span<const std::uint8_t> data;  // the PCM bytes, inside the parsed bytes
};

// Reads a RIFF file of form "WAVE": its first "fmt " chunk (16 bytes at
// least) and the first "data" chunk after it, both wholly inside the bytes.
// Chunks in between are skipped with their pad byte. Nothing when the bytes
// are no such file, are cut short, or hold no PCM bytes. The format is
// returned as found; whether it can be played is the sound layer's call.
std::optional<WaveData> parse_wave(std::span<const std::uint8_t> bytes);

}  // namespace platform
