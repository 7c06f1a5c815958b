// The RIFF WAVE reader, and the fifteen WAVE resources the module carries.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "host/core/module.h"
#include "platform/resources.h"
#include "platform/wave.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes &b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(Bytes &b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

struct Chunk {
  std::string id;
  Bytes body;
  std::uint32_t declared = 0xFFFFFFFF;  // the size written, when not the body's
};

// A RIFF file; riff_size overrides the size field when given.
Bytes riff(const std::vector<Chunk> &chunks, const char *form = "WAVE",
           std::uint32_t riff_size = 0) {
  Bytes b;
  for (const Chunk &c : chunks) {
    b.insert(b.end(), c.id.begin(), c.id.end());
    put32(b, c.declared != 0xFFFFFFFF ? c.declared : static_cast<std::uint32_t>(c.body.size()));
    b.insert(b.end(), c.body.begin(), c.body.end());
    if (c.body.size() % 2) b.push_back(0);
  }
  Bytes out = {'R', 'I', 'F', 'F'};
  put32(out, riff_size ? riff_size : static_cast<std::uint32_t>(b.size() + 4));
  out.insert(out.end(), form, form + 4);
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

// A format record: mono 8-bit 11025 Hz, `size` bytes long (16, 18, 40).
Bytes fmt(std::size_t size = 16, std::uint16_t extra = 0) {
  Bytes b;
  put16(b, 1);
  put16(b, 1);
  put32(b, 11025);
  put32(b, 11025);
  put16(b, 1);
  put16(b, 8);
  if (size >= 18) put16(b, extra);
  b.resize(size, 0xEE);
  return b;
}

const Bytes kSamples = {0x80, 0x90, 0x70, 0x80, 0xA0};

// The data span points into `b`: keep it alive while the result is used.
std::optional<platform::WaveData> parse(const Bytes &b) { return platform::parse_wave(b); }

TEST(WaveTest, ReadsFormatAndDataOfAPlainFile) {
  Bytes file = riff({{"fmt ", fmt()}, {"data", kSamples}});
  auto w = parse(file);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->format.format_tag, 1);
  EXPECT_EQ(w->format.channels, 1);
  EXPECT_EQ(w->format.samples_per_sec, 11025u);
  EXPECT_EQ(w->format.avg_bytes_per_sec, 11025u);
  EXPECT_EQ(w->format.block_align, 1);
  EXPECT_EQ(w->format.bits_per_sample, 8);
  EXPECT_EQ(w->format.extra_size, 0);  // a 16-byte record has none
  ASSERT_EQ(w->data.size(), kSamples.size());
  EXPECT_EQ(w->data.data(), file.data() + 44);  // the bytes themselves, not a copy
  EXPECT_EQ(Bytes(w->data.begin(), w->data.end()), kSamples);
}

TEST(WaveTest, ReadsTheExtraSizeOfLongerFormatRecords) {
  auto w18 = parse(riff({{"fmt ", fmt(18, 0)}, {"data", kSamples}}));
  ASSERT_TRUE(w18);
  EXPECT_EQ(w18->format.extra_size, 0);
  auto w40 = parse(riff({{"fmt ", fmt(40, 22)}, {"data", kSamples}}));
  ASSERT_TRUE(w40);
  EXPECT_EQ(w40->format.extra_size, 22);
  EXPECT_EQ(w40->data.size(), kSamples.size());
}

TEST(WaveTest, SkipsOtherChunksWithTheirPadByte) {
  Bytes odd = {'a', 'b', 'c'};
  Bytes file = riff({{"LIST", odd}, {"fmt ", fmt()}, {"fact", {1, 0, 0, 0}}, {"data", kSamples}});
  auto w = parse(file);
  ASSERT_TRUE(w);
  EXPECT_EQ(Bytes(w->data.begin(), w->data.end()), kSamples);
}

TEST(WaveTest, ToleratesARiffSizeBeyondTheFileWhenTheChunksAreWhole) {
  Bytes file = riff({{"fmt ", fmt()}, {"data", kSamples}}, "WAVE", 0x7FFFFFFF);
  EXPECT_TRUE(parse(file));
}

TEST(WaveTest, RefusesWhatIsNoWaveFile) {
  EXPECT_FALSE(parse({}));
  EXPECT_FALSE(parse(riff({{"fmt ", fmt()}, {"data", kSamples}}, "AVI ")));
  Bytes rifx = riff({{"fmt ", fmt()}, {"data", kSamples}});
  rifx[3] = 'X';
  EXPECT_FALSE(parse(rifx));
  EXPECT_FALSE(parse(riff({{"data", kSamples}})));                       // no format
  EXPECT_FALSE(parse(riff({{"fmt ", fmt()}})));                          // no data
  EXPECT_FALSE(parse(riff({{"fmt ", fmt(14)}, {"data", kSamples}})));    // short format
  EXPECT_FALSE(parse(riff({{"data", kSamples}, {"fmt ", fmt()}})));      // data before format
  EXPECT_FALSE(parse(riff({{"fmt ", fmt()}, {"data", {}}})));            // no samples
  EXPECT_FALSE(parse(riff({{"fmt ", fmt()}, {"data", kSamples}}, "WAVE", 3)));
}

TEST(WaveTest, RefusesChunksThatRunPastTheEnd) {
  // A data chunk that claims more than the file holds (up to the largest
  // size field) and a RIFF size that leaves the data chunk outside.
  for (std::uint32_t claim : {7u, 1000u, 0x0FFFFFFFu, 0xFFFFFFF8u, 0xFFFFFFFFu - 1})
    EXPECT_FALSE(parse(riff({{"fmt ", fmt()}, {"data", kSamples, claim}}))) << claim;
  EXPECT_FALSE(parse(riff({{"fmt ", fmt(), 0xFFFFFFF0u}, {"data", kSamples}})));
  EXPECT_FALSE(parse(riff({{"fmt ", fmt()}, {"data", kSamples}}, "WAVE", 4 + 24 + 8)));
}

TEST(WaveTest, RefusesEveryCutShortCopy) {
  Bytes file = riff({{"fmt ", fmt(18)}, {"data", kSamples}});
  file.pop_back();  // the pad byte: the file without it is whole
  ASSERT_TRUE(parse(file));
  for (std::size_t n = 0; n < file.size(); ++n)
    EXPECT_FALSE(parse(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n)))) << n;
}

// The module's sounds: id, bits, sample rate and PCM bytes.
struct Expected {
  std::uint16_t bits;
  std::uint32_t rate;
  std::uint32_t bytes;  // 0: a callout, 3273 to 11322 bytes
};

TEST(WaveTest, TheModuleCarriesItsFifteenSounds) {
  std::string error;
  auto module = z480::Module::load(Z480_MODULE_PATH, &error);
  ASSERT_TRUE(module) << error;
  std::map<std::uint32_t, Expected> expected = {{10, {16, 22050, 3828}}, {20, {8, 22050, 10304}},
                                                 {1470, {8, 11025, 6095}}};
  for (std::uint32_t id : {1340, 1350, 1360, 1370, 1380, 1400, 1410, 1420, 1430, 1440, 1450, 1460})
    expected[id] = {8, 11025, 0};
  std::size_t waves = 0;
  for (const auto &e : platform::resource_directory(module->handle()))
    waves += std::strcmp(e.type, "WAVE") == 0;
  EXPECT_EQ(waves, expected.size());
  for (const auto &[id, want] : expected) {
    SCOPED_TRACE(id);
    auto bytes = platform::find_resource(module->handle(), "WAVE", id);
    ASSERT_TRUE(bytes);
    auto w = platform::parse_wave(*bytes);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->format.format_tag, platform::kWaveFormatPcm);
    EXPECT_EQ(w->format.channels, 1);
    EXPECT_EQ(w->format.bits_per_sample, want.bits);
    EXPECT_EQ(w->format.samples_per_sec, want.rate);
    if (want.bytes) {
      EXPECT_EQ(w->data.size(), want.bytes);
    } else {
      EXPECT_GE(w->data.size(), 3273u);
      EXPECT_LE(w->data.size(), 11322u);
    }
  }
  EXPECT_FALSE(platform::find_resource(module->handle(), "WAVE", 999));
  EXPECT_FALSE(platform::find_resource(module->handle(), "BITMAP", 10));
}

TEST(WaveTest, ResourcesAreFoundOnlyThroughALoadedModule) {
  int not_a_module = 0;
  EXPECT_FALSE(platform::find_resource(nullptr, "WAVE", 10));
  EXPECT_FALSE(platform::find_resource(&not_a_module, "WAVE", 10));
  EXPECT_FALSE(platform::find_resource(reinterpret_cast<void *>(12345), "WAVE", 10));
  EXPECT_TRUE(platform::resource_directory(&not_a_module).empty());
}

}  // namespace
