// The host's packed-decimal radio words (one decimal digit per 4-bit group)
// and what the radio heads read from them. The host owns every frequency and
// the transponder code; the heads only read them and send step events.
#pragma once

#include <cstdint>

// A host token taken as a 32-bit BCD word (through to_word).
std::uint32_t read_bcd_word(std::int32_t token);

// A BCD byte as a number: 0x25 is 25.
double bcd_byte(std::uint32_t byte);

// COM frequency without its leading 1: 0x2345 is 123.45 MHz.
double com_whole_of(std::uint32_t word);     // megahertz
double com_fraction_of(std::uint32_t word);  // hundredths of a megahertz
// NAV frequency, the same way: 0x0890 is 108.90 MHz.
double nav_whole_of(std::uint32_t word);
double nav_fraction_of(std::uint32_t word);

double read_com_whole(std::int32_t token);
double read_com_fraction(std::int32_t token);
double read_nav_whole(std::int32_t token);
double read_nav_fraction(std::int32_t token);

// ADF: three digits in the main word (0x0379 is 379 kHz); the extension word
// adds 1000 kHz from 256 up and holds the tenths digit below that.
double adf_khz_of(std::uint32_t main, std::uint32_t extension);
double adf_tenths_of(std::uint32_t extension);

// Transponder code, four digits: 0x7700 is 7700.
double xpdr_code_of(std::uint32_t word);
double read_xpdr_code(std::int32_t token);
