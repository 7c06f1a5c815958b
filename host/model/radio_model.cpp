#include "host/model/radio_model.h"

#include <algorithm>

#include "frame/numeric.h"
#include "frame/host_names.h"
#include "host/model/systems_model.h"

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

double radio_mhz(std::uint32_t word) {
  return 100 + 10 * digit(word, 12) + digit(word, 8) + (10 * digit(word, 4) + digit(word, 0)) / 100.0;
}

double adf_khz(AdfWords w) {
  bool thousands = w.extension >= 256;
  int tenths = std::min<std::uint32_t>(thousands ? w.extension - 256 : w.extension, 9);
  return (thousands ? 1000 : 0) + 100 * digit(w.main, 8) + 10 * digit(w.main, 4) + digit(w.main, 0) +
         tenths / 10.0;
}

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


// The ADF rules carry the digit place in arg.
void adf_digit(Host &host, const ModelRule &r, std::uint32_t) {
  AdfWords w{word_of(host, kVarAdfFrequency), word_of(host, kVarAdfExtension)};
  w = adf_digit_step(w, r.arg, r.step);
  host.set_var(kVarAdfFrequency, w.main);
  host.set_var(kVarAdfExtension, w.extension);
}

// The transponder rules carry the digit's shift in arg.
void xpdr_digit(Host &host, const ModelRule &r, std::uint32_t) {
  host.set_var(r.token, xpdr_digit_step(word_of(host, r.token), r.arg, r.step));
}


const ModelRule kRadioRules[] = {
    // COM 1 and NAV 1: whole down, up; fraction down, up
    {kEventCom1WholeDec, radio_whole, kVarCom1Frequency, kCom, -1},
    {kEventCom1WholeInc, radio_whole, kVarCom1Frequency, kCom, +1},
    {kEventCom1FractionDec, radio_fraction, kVarCom1Frequency, kCom, -1},
    {kEventCom1FractionInc, radio_fraction, kVarCom1Frequency, kCom, +1},
    {kEventNav1WholeDec, radio_whole, kVarNav1Frequency, kNav, -1},
    {kEventNav1WholeInc, radio_whole, kVarNav1Frequency, kNav, +1},
    {kEventNav1FractionDec, radio_fraction, kVarNav1Frequency, kNav, -1},
    {kEventNav1FractionInc, radio_fraction, kVarNav1Frequency, kNav, +1},
    // COM 2 and NAV 2
    {kEventCom2WholeDec, radio_whole, kVarCom2Frequency, kCom, -1},
    {kEventCom2WholeInc, radio_whole, kVarCom2Frequency, kCom, +1},
    {kEventCom2FractionDec, radio_fraction, kVarCom2Frequency, kCom, -1},
    {kEventCom2FractionInc, radio_fraction, kVarCom2Frequency, kCom, +1},
    {kEventNav2WholeDec, radio_whole, kVarNav2Frequency, kNav, -1},
    {kEventNav2WholeInc, radio_whole, kVarNav2Frequency, kNav, +1},
    {kEventNav2FractionDec, radio_fraction, kVarNav2Frequency, kNav, -1},
    {kEventNav2FractionInc, radio_fraction, kVarNav2Frequency, kNav, +1},
    // ADF digits
    {kEventAdfHundredsInc, adf_digit, kVarAdfFrequency, kAdfHundreds, +1},
    {kEventAdfHundredsDec, adf_digit, kVarAdfFrequency, kAdfHundreds, -1},
    {kEventAdfTensInc, adf_digit, kVarAdfFrequency, kAdfTens, +1},
    {kEventAdfTensDec, adf_digit, kVarAdfFrequency, kAdfTens, -1},
    {kEventAdfUnitsInc, adf_digit, kVarAdfFrequency, kAdfUnits, +1},
    {kEventAdfUnitsDec, adf_digit, kVarAdfFrequency, kAdfUnits, -1},
    {kEventAdfTenthsInc, adf_digit, kVarAdfFrequency, kAdfTenths, +1},
    {kEventAdfTenthsDec, adf_digit, kVarAdfFrequency, kAdfTenths, -1},
    // Transponder digits, first to fourth, up then down
    {kEventTransponderThousandsInc, xpdr_digit, kVarTransponderCode, 12, +1},
    {kEventTransponderHundredsInc, xpdr_digit, kVarTransponderCode, 8, +1},
    {kEventTransponderTensInc, xpdr_digit, kVarTransponderCode, 4, +1},
    {kEventTransponderUnitsInc, xpdr_digit, kVarTransponderCode, 0, +1},
    {kEventTransponderThousandsDec, xpdr_digit, kVarTransponderCode, 12, -1},
    {kEventTransponderHundredsDec, xpdr_digit, kVarTransponderCode, 8, -1},
    {kEventTransponderTensDec, xpdr_digit, kVarTransponderCode, 4, -1},
    {kEventTransponderUnitsDec, xpdr_digit, kVarTransponderCode, 0, -1},
    // Selected heading and NAV 1 course (the HSI draws the NAV 1 course)
    {kEventSelectedHeadingSet, action_set_degrees, kVarSelectedHeading},
    {kEventSelectedHeadingInc, action_step_degrees, kVarSelectedHeading, 0, +1},
    {kEventSelectedHeadingDec, action_step_degrees, kVarSelectedHeading, 0, -1},
    {kEventNav1CourseSet, action_set_degrees, kVarNav1Course},
    {kEventNav1CourseSet, action_set_degrees, kVarHsiCourse},
    // Distance receiver and navigation source
    {kEventDistanceReceiver1, action_set, kVarDistanceReceiver, 1},
    {kEventDistanceReceiver2, action_set, kVarDistanceReceiver, 2},
    {kEventGpsSourceToggle, action_toggle, kVarGpsSource},
};

}  // namespace

std::span<const ModelRule> radio_rules() { return kRadioRules; }
}  // namespace z480
