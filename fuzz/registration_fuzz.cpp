// Arbitrary parameter strings through the registration plate: install, its
// options and the text, on records laid out as the host lays them out (a
// string buffer of exactly max_string_length + 1 bytes). Aborts when the
// text or the font name comes out unterminated or too long.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "frame/declare.h"
#include "radar/registration.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  // The first byte picks the room the host gives the text; the rest is the string.
  std::uint16_t characters = size > 0 ? data[0] % 12 : 7;
  std::string params(reinterpret_cast<const char *>(data) + (size > 0), size - (size > 0));

  StaticImageElement background{};
  StringElement text = string_element(
      {.text_color = 0xFFFFFF, .font = "Arial", .characters = characters});
  auto buffer = std::make_unique<char[]>(characters + 1u);
  buffer[0] = '\0';
  text.string = buffer.get();
  GaugeElement *background_next[] = {&text.header, nullptr};
  background.header.next_element = background_next;
  GaugeElement *elements[] = {&background.header, nullptr};
  GaugeHeader gauge{};
  gauge.elements_list = elements;
  gauge.parameters = params.c_str();
  text.header.gauge_header = &gauge;

  registration_install(&gauge, kServiceInstall, 0);
  registration_apply_options(&gauge);
  registration_text(&text);

  if (strnlen(text.font_name, sizeof text.font_name) == sizeof text.font_name) std::abort();
  std::size_t length = strnlen(text.string, characters + 1u);
  if (length > characters || length > 7) std::abort();
  if (text.fg_color > 0xFFFFFF) std::abort();
  return 0;
}
