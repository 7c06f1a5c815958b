#include "host/util/utf8.h"

namespace z480 {

std::size_t utf8_sequence_length(std::string_view text, std::size_t at) {
  if (at >= text.size()) return 0;
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  unsigned char c = byte(0);
  if (c < 0x80) return 1;
  std::size_t length = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3
                     : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
  if (length == 0 || text.size() - at < length) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((byte(k) & 0xc0) != 0x80) return 0;
  // The second byte's range that excludes overlong forms, surrogates and
  // code points past U+10FFFF.
  unsigned char second = byte(1);
  if ((c == 0xe0 && second < 0xa0) || (c == 0xed && second >= 0xa0) ||
      (c == 0xf0 && second < 0x90) || (c == 0xf4 && second >= 0x90))
    return 0;
  return length;
}

}  // namespace z480
