#include "platform/wave.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

std::uint16_t u16(const std::uint8_t *p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t u32(const std::uint8_t *p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
bool is(const std::uint8_t *p, const char (&id)[5]) { return std::memcmp(p, id, 4) == 0; }

// Finds the next chunk with that id in `region` from `at`, and leaves `at`
// after it. A chunk that runs past the region ends the search: its size
// cannot be trusted to find the next one.
std::optional<std::span<const std::uint8_t>> find_chunk(std::span<const std::uint8_t> region,
                                                        std::size_t &at, const char (&id)[5]) {
  while (at <= region.size() && region.size() - at >= 8) {
    const std::uint8_t *header = region.data() + at;
    std::size_t size = u32(header + 4);
    std::size_t body = at + 8;
    if (size > region.size() - body) return std::nullopt;
    at = body + size + (size & 1);  // chunks start on even offsets
    if (is(header, id)) return region.subspan(body, size);
  }
  return std::nullopt;
}

WaveFormat read_format(std::span<const std::uint8_t> chunk) {
  const std::uint8_t *p = chunk.data();
  WaveFormat f;
  f.format_tag = u16(p);
  f.channels = u16(p + 2);
  f.samples_per_sec = u32(p + 4);
  f.avg_bytes_per_sec = u32(p + 8);
  f.block_align = u16(p + 12);
  f.bits_per_sample = u16(p + 14);
  f.extra_size = chunk.size() >= 18 ? u16(p + 16) : 0;
  return f;
}

}  // namespace

std::optional<WaveData> parse_wave(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 12 || !is(bytes.data(), "RIFF") || !is(bytes.data() + 8, "WAVE"))
    return std::nullopt;
  // The RIFF size counts the form type and the chunks. A file that claims
  // more than it holds is read as far as it goes; its chunks must still fit.
  std::size_t riff_size = u32(bytes.data() + 4);
  if (riff_size < 4) return std::nullopt;
  auto chunks = bytes.subspan(12, std::min(riff_size - 4, bytes.size() - 12));

  std::size_t at = 0;
  auto fmt = find_chunk(chunks, at, "fmt ");
  if (!fmt || fmt->size() < 16) return std::nullopt;
  auto data = find_chunk(chunks, at, "data");
  if (!data || data->empty() || data->size() > kMaxWaveData) return std::nullopt;
  return WaveData{read_format(*fmt), *data};
}

}  // namespace platform
