#include "host/radio_model.h"

#include <algorithm>

#include "frame/numeric.h"
#include "host/systems_model.h"

namespace z480 {
namespace {

// A decimal digit of a packed word; a group above 9 reads as 9.
int digit(std::uint32_t word, int shift) {
  return std::min<int>((word >> shift) & 0xF, 9);
}

std::uint32_t pack4(int n) {
  return static_cast<std::uint32_t>((n / 1000 % 10) << 12 | (n / 100 % 10) << 8 |
                                    (n / 10 % 10) << 4 | (n % 10));
}

int wrap(int value, int first, int count) { return first + ((value - first) % count + count) % count; }

struct Frequency {
  int mhz;
  int hundredths;
};

Frequency decode(std::uint32_t word, const RadioBand &band) {
  int mhz = 100 + 10 * digit(word, 12) + digit(word, 8);
  return {std::clamp(mhz, band.first_mhz, band.last_mhz), 10 * digit(word, 4) + digit(word, 0)};
}

std::uint32_t encode(Frequency f) { return pack4((f.mhz - 100) * 100 + f.hundredths); }

}  // namespace

std::uint32_t radio_whole_step(std::uint32_t word, const RadioBand &band, int delta) {
  Frequency f = decode(word, band);
  f.mhz = wrap(f.mhz + delta, band.first_mhz, band.last_mhz - band.first_mhz + 1);
  return encode(f);
}

std::uint32_t radio_fraction_step(std::uint32_t word, const RadioBand &band, int delta) {
  Frequency f = decode(word, band);
  int channels = 1000 / band.channel_khz;
  // The channel whose kilohertz, cut to hundredths, reads as the word does.
  int channel = std::min((f.hundredths * 10 + band.channel_khz - 1) / band.channel_khz, channels - 1);
  channel = wrap(channel + delta, 0, channels);
  f.hundredths = channel * band.channel_khz / 10;
  return encode(f);
}

AdfWords adf_digit_step(AdfWords words, int place, int delta) {
  int hundreds = (words.extension >= 256 ? 10 : 0) + digit(words.main, 8);
  int tens = digit(words.main, 4);
  int units = digit(words.main, 0);
  int tenths = std::min<std::uint32_t>(words.extension >= 256 ? words.extension - 256 : words.extension, 9);
  switch (place) {
    case kAdfHundreds: hundreds = wrap(hundreds + delta, 1, 17); break;
    case kAdfTens: tens = wrap(tens + delta, 0, 10); break;
    case kAdfUnits: units = wrap(units + delta, 0, 10); break;
    case kAdfTenths: tenths = wrap(tenths + delta, 0, 10); break;
    default: break;
  }
  return {static_cast<std::uint32_t>((hundreds % 10) << 8 | tens << 4 | units),
          static_cast<std::uint32_t>((hundreds >= 10 ? 256 : 0) + tenths)};
}

std::uint32_t xpdr_digit_step(std::uint32_t code, int shift, int delta) {
  int d = std::min<int>((code >> shift) & 0xF, 7);
  d = wrap(d + delta, 0, 8);
  std::uint32_t others = code & 0xFFFF & ~(0xFu << shift);
  return others | static_cast<std::uint32_t>(d) << shift;
}

namespace {

std::uint32_t word_of(Host &host, std::int32_t token) { return to_word(host.var(token)); }

// The radio rules carry their band in arg.
constexpr const RadioBand *kBands[] = {&kComBand, &kNavBand};
constexpr std::int32_t kCom = 0, kNav = 1;

void radio_whole(Host &host, const ModelRule &r, std::uint32_t) {
  host.set_var(r.token, radio_whole_step(word_of(host, r.token), *kBands[r.arg], r.step));
}
void radio_fraction(Host &host, const ModelRule &r, std::uint32_t) {
  host.set_var(r.token, radio_fraction_step(word_of(host, r.token), *kBands[r.arg], r.step));
}

constexpr std::int32_t kAdfMainToken = 16;
constexpr std::int32_t kAdfExtensionToken = 18;

// The ADF rules carry the digit place in arg.
void adf_digit(Host &host, const ModelRule &r, std::uint32_t) {
  AdfWords w{word_of(host, kAdfMainToken), word_of(host, kAdfExtensionToken)};
  w = adf_digit_step(w, r.arg, r.step);
  host.set_var(kAdfMainToken, w.main);
  host.set_var(kAdfExtensionToken, w.extension);
}

// The transponder rules carry the digit's shift in arg.
void xpdr_digit(Host &host, const ModelRule &r, std::uint32_t) {
  host.set_var(r.token, xpdr_digit_step(word_of(host, r.token), r.arg, r.step));
}

constexpr std::int32_t kCom1 = 23, kNav1 = 24, kCom2 = 870, kNav2 = 27;
constexpr std::int32_t kXpdrCode = 38;
constexpr std::int32_t kNavCourse = 45;
constexpr std::int32_t kHsiCourse = 854;
constexpr std::int32_t kSelectedHeading = 855;
constexpr std::int32_t kDistanceReceiver = 355;
constexpr std::int32_t kGpsSource = 848;

const ModelRule kRadioRules[] = {
    // COM 1 and NAV 1: whole down, up; fraction down, up
    {65636, radio_whole, kCom1, kCom, -1},
    {65637, radio_whole, kCom1, kCom, +1},
    {65638, radio_fraction, kCom1, kCom, -1},
    {65639, radio_fraction, kCom1, kCom, +1},
    {65640, radio_whole, kNav1, kNav, -1},
    {65641, radio_whole, kNav1, kNav, +1},
    {65642, radio_fraction, kNav1, kNav, -1},
    {65643, radio_fraction, kNav1, kNav, +1},
    // COM 2 and NAV 2
    {66436, radio_whole, kCom2, kCom, -1},
    {66437, radio_whole, kCom2, kCom, +1},
    {66438, radio_fraction, kCom2, kCom, -1},
    {66440, radio_fraction, kCom2, kCom, +1},
    {65644, radio_whole, kNav2, kNav, -1},
    {65645, radio_whole, kNav2, kNav, +1},
    {65646, radio_fraction, kNav2, kNav, -1},
    {65647, radio_fraction, kNav2, kNav, +1},
    // ADF digits
    {65648, adf_digit, kAdfMainToken, kAdfHundreds, +1},
    {65666, adf_digit, kAdfMainToken, kAdfHundreds, -1},
    {65649, adf_digit, kAdfMainToken, kAdfTens, +1},
    {65667, adf_digit, kAdfMainToken, kAdfTens, -1},
    {65650, adf_digit, kAdfMainToken, kAdfUnits, +1},
    {65668, adf_digit, kAdfMainToken, kAdfUnits, -1},
    {66454, adf_digit, kAdfMainToken, kAdfTenths, +1},
    {66453, adf_digit, kAdfMainToken, kAdfTenths, -1},
    // Transponder digits, first to fourth, up then down
    {65651, xpdr_digit, kXpdrCode, 12, +1},
    {65652, xpdr_digit, kXpdrCode, 8, +1},
    {65653, xpdr_digit, kXpdrCode, 4, +1},
    {65654, xpdr_digit, kXpdrCode, 0, +1},
    {66455, xpdr_digit, kXpdrCode, 12, -1},
    {66456, xpdr_digit, kXpdrCode, 8, -1},
    {66457, xpdr_digit, kXpdrCode, 4, -1},
    {66458, xpdr_digit, kXpdrCode, 0, -1},
    // Selected heading and NAV 1 course (the HSI draws the NAV 1 course)
    {66042, action_set_degrees, kSelectedHeading},
    {65879, action_step_degrees, kSelectedHeading, 0, +1},
    {65880, action_step_degrees, kSelectedHeading, 0, -1},
    {65716, action_set_degrees, kNavCourse},
    {65716, action_set_degrees, kHsiCourse},
    // Distance receiver and navigation source
    {65787, action_set, kDistanceReceiver, 1},
    {65788, action_set, kDistanceReceiver, 2},
    {66375, action_toggle, kGpsSource},
};

[[maybe_unused]] const bool kRegistered = register_model_table("radios", kRadioRules);

}  // namespace
}  // namespace z480
