// How the simulator tunes its radios on the radio key events: frequencies
// and the transponder code are packed-decimal words (one decimal digit per
// 4-bit group) that the host steps and wraps itself. Registered with the
// systems model as the "radios" table, together with the heading and course
// set events and the distance-receiver selection.
#pragma once

#include <cstdint>

namespace z480 {

// A VHF band: its whole megahertz and its channel spacing. A word holds the
// frequency without its leading 1 (0x2345 is 123.45 MHz); 25-kHz channels
// keep two decimals (122.275 is 0x2227).
struct RadioBand {
  int first_mhz;
  int last_mhz;
  int channel_khz;
};
inline constexpr RadioBand kComBand = {118, 136, 25};
inline constexpr RadioBand kNavBand = {108, 117, 50};

// The megahertz a word stands for (0x0950 is 109.50); a 4-bit group above 9
// reads as 9.
double radio_mhz(std::uint32_t word);

// Whole megahertz up or down, wrapping round the band; the fraction stays.
std::uint32_t radio_whole_step(std::uint32_t word, const RadioBand &band, int delta);
// One channel up or down, wrapping within the megahertz (.95 up is .00 of
// the same megahertz, as on the real sets); an off-channel fraction first
// moves to the channel at or above it, or to the last one.
std::uint32_t radio_fraction_step(std::uint32_t word, const RadioBand &band, int delta);

// The ADF's two words: three digits (0x0379 is 379 kHz) and the extension
// (256 for the thousands, plus the tenths digit).
struct AdfWords {
  std::uint32_t main;
  std::uint32_t extension;
};
// Digit places of the ADF steps, in tenths of a kilohertz.
inline constexpr int kAdfHundreds = 1000;
inline constexpr int kAdfTens = 100;
inline constexpr int kAdfUnits = 10;
inline constexpr int kAdfTenths = 1;
// Hundreds wrap round the band 100 to 1799 kHz; the other digits wrap 0 to 9
// on their own without carrying.
AdfWords adf_digit_step(AdfWords words, int place, int delta);
// The kilohertz the two words stand for, tenths included (1379.5).
double adf_khz(AdfWords words);

// One transponder digit (shift 12 the first, 0 the fourth) up or down,
// wrapping 0 to 7 without carrying. A shift that names no digit leaves the
// code as it is.
std::uint32_t xpdr_digit_step(std::uint32_t code, int shift, int delta);

}  // namespace z480
