#include "gauges/radios/radio_bcd.h"

#include "frame/numeric.h"
#include "frame/services.h"

namespace {
// The digit groups of a COM word: 0x1xxx, 0x2xxx and 0x3xxx are the 110s,
// 120s and 130s.
struct Decade {
  std::uint32_t base;
  double megahertz;
};
constexpr Decade kComDecades[] = {{0x3000, 130.0}, {0x2000, 120.0}, {0x1000, 110.0}};

// A word below 0x1000 is below every COM decade; it reads as 100-something
// rather than wrapping round to millions of megahertz.
constexpr Decade kBelowDecades = {0x0000, 100.0};

Decade com_decade(std::uint32_t word) {
  for (const Decade &d : kComDecades)
    if (word >= d.base) return d;
  return kBelowDecades;
}

Decade nav_decade(std::uint32_t word) {
  return word >= 0x1000 ? kComDecades[2] : kBelowDecades;
}

double whole_of(std::uint32_t word, Decade d) { return d.megahertz + ((word - d.base) >> 8); }
double fraction_of(std::uint32_t word, Decade d) { return bcd_byte((word - d.base) & 0xFF); }
}  // namespace

std::uint32_t read_bcd_word(std::int32_t token) { return to_word(read_var(token)); }

double bcd_byte(std::uint32_t byte) { return (byte & 0xF) + 10.0 * (byte >> 4); }

double com_whole_of(std::uint32_t word) { return whole_of(word, com_decade(word)); }
double com_fraction_of(std::uint32_t word) { return fraction_of(word, com_decade(word)); }
double nav_whole_of(std::uint32_t word) { return whole_of(word, nav_decade(word)); }
double nav_fraction_of(std::uint32_t word) { return fraction_of(word, nav_decade(word)); }

double read_com_whole(std::int32_t token) { return com_whole_of(read_bcd_word(token)); }
double read_com_fraction(std::int32_t token) { return com_fraction_of(read_bcd_word(token)); }
double read_nav_whole(std::int32_t token) { return nav_whole_of(read_bcd_word(token)); }
double read_nav_fraction(std::int32_t token) { return nav_fraction_of(read_bcd_word(token)); }

double adf_khz_of(std::uint32_t main, std::uint32_t extension) {
  double thousands = extension >= 256 ? 1.0 : 0.0;
  std::uint32_t hundreds = main / 256;
  std::uint32_t rest = main - 256 * hundreds;
  std::uint32_t tens = rest / 16;
  std::uint32_t units = rest - 16 * tens;
  return 1000.0 * thousands + 100.0 * hundreds + 10.0 * tens + units;
}

double adf_tenths_of(std::uint32_t extension) {
  return extension >= 256 ? extension - 256.0 : extension;
}

double xpdr_code_of(std::uint32_t word) {
  std::uint32_t d1 = word / 4096;
  word -= 4096 * d1;
  std::uint32_t d2 = word / 256;
  word -= 256 * d2;
  std::uint32_t d3 = word / 16;
  std::uint32_t d4 = word - 16 * d3;
  return 1000.0 * d1 + 100.0 * d2 + 10.0 * d3 + d4;
}

double read_xpdr_code(std::int32_t token) { return xpdr_code_of(read_bcd_word(token)); }
