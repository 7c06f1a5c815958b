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

// The shift of one of a transponder code's four digits.
constexpr bool xpdr_shift(int shift) { return shift >= 0 && shift <= 12 && shift % 4 == 0; }

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
  if (!xpdr_shift(shift)) return code & 0xFFFF;
  int d = std::min<int>((code >> shift) & 0xF, 7);
  d = wrap(d + delta, 0, 8);
  std::uint32_t others = code & 0xFFFF & ~(0xFu << shift);
  return others | static_cast<std::uint32_t>(d) << shift;
}

namespace {

std::uint32_t word_of(Host &host, std::int32_t token) { return to_word(host.var(token)); }

template <const RadioBand &Band>
void radio_whole(Host &host, const ModelRule &r, std::uint32_t) {
  host.set_var(r.token, radio_whole_step(word_of(host, r.token), Band, r.step));
}
template <const RadioBand &Band>
void radio_fraction(Host &host, const ModelRule &r, std::uint32_t) {
  host.set_var(r.token, radio_fraction_step(word_of(host, r.token), Band, r.step));
}

constexpr bool adf_place(int place) {
  return place == kAdfHundreds || place == kAdfTens || place == kAdfUnits || place == kAdfTenths;
}
template <int Place>
void adf_digit(Host &host, const ModelRule &r, std::uint32_t) {
  static_assert(adf_place(Place), "an ADF digit place is one of the kAdf places");
  AdfWords w{word_of(host, kVarAdfFrequency), word_of(host, kVarAdfExtension)};
  w = adf_digit_step(w, Place, r.step);
  host.set_var(kVarAdfFrequency, w.main);
  host.set_var(kVarAdfExtension, w.extension);
}

// The digit's shift within the code: 12 the first, 0 the fourth.
template <int Shift>
void xpdr_digit(Host &host, const ModelRule &r, std::uint32_t) {
  static_assert(xpdr_shift(Shift), "a transponder digit is one of the code's four nibbles");
  host.set_var(r.token, xpdr_digit_step(word_of(host, r.token), Shift, r.step));
}

const ModelRule kRadioRules[] = {
    // COM 1 and NAV 1: whole down, up; fraction down, up
    {.event = kEventCom1WholeDec, .action = radio_whole<kComBand>, .token = kVarCom1Frequency, .step = -1},
    {.event = kEventCom1WholeInc, .action = radio_whole<kComBand>, .token = kVarCom1Frequency, .step = +1},
    {.event = kEventCom1FractionDec, .action = radio_fraction<kComBand>, .token = kVarCom1Frequency,
     .step = -1},
    {.event = kEventCom1FractionInc, .action = radio_fraction<kComBand>, .token = kVarCom1Frequency,
     .step = +1},
    {.event = kEventNav1WholeDec, .action = radio_whole<kNavBand>, .token = kVarNav1Frequency, .step = -1},
    {.event = kEventNav1WholeInc, .action = radio_whole<kNavBand>, .token = kVarNav1Frequency, .step = +1},
    {.event = kEventNav1FractionDec, .action = radio_fraction<kNavBand>, .token = kVarNav1Frequency,
     .step = -1},
    {.event = kEventNav1FractionInc, .action = radio_fraction<kNavBand>, .token = kVarNav1Frequency,
     .step = +1},
    // COM 2 and NAV 2
    {.event = kEventCom2WholeDec, .action = radio_whole<kComBand>, .token = kVarCom2Frequency, .step = -1},
    {.event = kEventCom2WholeInc, .action = radio_whole<kComBand>, .token = kVarCom2Frequency, .step = +1},
    {.event = kEventCom2FractionDec, .action = radio_fraction<kComBand>, .token = kVarCom2Frequency,
     .step = -1},
    {.event = kEventCom2FractionInc, .action = radio_fraction<kComBand>, .token = kVarCom2Frequency,
     .step = +1},
    {.event = kEventNav2WholeDec, .action = radio_whole<kNavBand>, .token = kVarNav2Frequency, .step = -1},
    {.event = kEventNav2WholeInc, .action = radio_whole<kNavBand>, .token = kVarNav2Frequency, .step = +1},
    {.event = kEventNav2FractionDec, .action = radio_fraction<kNavBand>, .token = kVarNav2Frequency,
     .step = -1},
    {.event = kEventNav2FractionInc, .action = radio_fraction<kNavBand>, .token = kVarNav2Frequency,
     .step = +1},
    // ADF digits
    {.event = kEventAdfHundredsInc, .action = adf_digit<kAdfHundreds>, .token = kVarAdfFrequency, .step = +1},
    {.event = kEventAdfHundredsDec, .action = adf_digit<kAdfHundreds>, .token = kVarAdfFrequency, .step = -1},
    {.event = kEventAdfTensInc, .action = adf_digit<kAdfTens>, .token = kVarAdfFrequency, .step = +1},
    {.event = kEventAdfTensDec, .action = adf_digit<kAdfTens>, .token = kVarAdfFrequency, .step = -1},
    {.event = kEventAdfUnitsInc, .action = adf_digit<kAdfUnits>, .token = kVarAdfFrequency, .step = +1},
    {.event = kEventAdfUnitsDec, .action = adf_digit<kAdfUnits>, .token = kVarAdfFrequency, .step = -1},
    {.event = kEventAdfTenthsInc, .action = adf_digit<kAdfTenths>, .token = kVarAdfFrequency, .step = +1},
    {.event = kEventAdfTenthsDec, .action = adf_digit<kAdfTenths>, .token = kVarAdfFrequency, .step = -1},
    // Transponder digits, first to fourth, up then down
    {.event = kEventTransponderThousandsInc, .action = xpdr_digit<12>, .token = kVarTransponderCode,
     .step = +1},
    {.event = kEventTransponderHundredsInc, .action = xpdr_digit<8>, .token = kVarTransponderCode,
     .step = +1},
    {.event = kEventTransponderTensInc, .action = xpdr_digit<4>, .token = kVarTransponderCode, .step = +1},
    {.event = kEventTransponderUnitsInc, .action = xpdr_digit<0>, .token = kVarTransponderCode, .step = +1},
    {.event = kEventTransponderThousandsDec, .action = xpdr_digit<12>, .token = kVarTransponderCode,
     .step = -1},
    {.event = kEventTransponderHundredsDec, .action = xpdr_digit<8>, .token = kVarTransponderCode,
     .step = -1},
    {.event = kEventTransponderTensDec, .action = xpdr_digit<4>, .token = kVarTransponderCode, .step = -1},
    {.event = kEventTransponderUnitsDec, .action = xpdr_digit<0>, .token = kVarTransponderCode, .step = -1},
    // Selected heading and NAV 1 course (the HSI draws the NAV 1 course)
    {.event = kEventSelectedHeadingSet, .action = action_set_degrees, .token = kVarSelectedHeading},
    {.event = kEventSelectedHeadingInc, .action = action_step_degrees, .token = kVarSelectedHeading,
     .step = +1},
    {.event = kEventSelectedHeadingDec, .action = action_step_degrees, .token = kVarSelectedHeading,
     .step = -1},
    {.event = kEventNav1CourseSet, .action = action_set_degrees, .token = kVarNav1Course},
    {.event = kEventNav1CourseSet, .action = action_set_degrees, .token = kVarHsiCourse},
    // Distance receiver and navigation source
    {.event = kEventDistanceReceiver1, .action = action_set, .token = kVarDistanceReceiver, .set_to = 1},
    {.event = kEventDistanceReceiver2, .action = action_set, .token = kVarDistanceReceiver, .set_to = 2},
    {.event = kEventGpsSourceToggle, .action = action_toggle, .token = kVarGpsSource},
};

}  // namespace

std::span<const ModelRule> radio_rules() { return kRadioRules; }
}  // namespace z480
