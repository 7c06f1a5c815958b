// The one test of well-formed UTF-8 that every text the host shows or sends
// goes through (the script printer, the browser panel's JSON): a degree sign
// in a tooltip passes, stray bytes, overlong forms, surrogates and code
// points past U+10FFFF do not.
#pragma once

#include <cstddef>
#include <string_view>

namespace z480 {

// The length of the well-formed sequence starting at text[at]: 1 for an
// ASCII byte, 2 to 4 for a multi-byte character, 0 when it is not
// well-formed (or at is past the end).
std::size_t utf8_sequence_length(std::string_view text, std::size_t at);

}  // namespace z480
