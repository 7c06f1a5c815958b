// Registration: a 150 mm plate showing the aircraft's registration, up to
// seven characters, in the colour and font the parameter string asks for.
//   tF-ABCD r255 g200 b0 fCourier New
// t at the very start gives the text (up to the first blank, '_' shown as a
// blank); after the first blank r, g and b set the text colour and f the font
// name (the rest of the string, so f comes last). Without a usable string the
// plate reads N700MS in white Arial.
// Reads no host variables, sends no key events, no module-wide variables.
#include "radar/registration.h"

#include <algorithm>
#include <cstring>

#include "frame/declare.h"
#include "frame/params.h"

extern GaugeHeader Registration_Header;

namespace {
constexpr GaugeHeader *kSelf = &Registration_Header;
constexpr const char *kDefaultRegistration = "N700MS";
constexpr std::uint16_t kPlateCharacters = 7;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kHighlight = 0x5C5C5C;
constexpr std::uint8_t kCharsetDefault = 1;
constexpr std::uint32_t kCentredSingleLine = 37;

// The colour keys and where each part sits in the 0x00BBGGRR word.
struct ColourKey {
  const char *key;
  unsigned shift;
};
constexpr ColourKey kColourKeys[] = {{"r", 0}, {"g", 8}, {"b", 16}};
constexpr std::int32_t kFullPart = 255;

// The plate's string element: the first child of the background, when the
// records are as declared.
StringElement *plate_text(GaugeHeader *gauge) {
  if (!gauge || !gauge->elements_list || !gauge->elements_list[0]) return nullptr;
  GaugeElement **children = gauge->elements_list[0]->next_element;
  if (!children || !children[0] || children[0]->element_type != kString) return nullptr;
  return reinterpret_cast<StringElement *>(children[0]);
}

// The first key before end (null: anywhere), by the usual comment rule.
const char *find_before(const char *text, const char *key, const char *end) {
  const char *hit = param_find_key(text, key);
  return hit && (!end || hit < end) ? hit : nullptr;
}

void set_font(StringElement *plate, const char *name) {
  std::size_t length = strnlen(name, sizeof plate->font_name - 1);
  std::memcpy(plate->font_name, name, length);
  plate->font_name[length] = '\0';
}

// A colour part: out-of-range values (above 255 or negative) give full.
std::uint32_t colour_part(const char *value) {
  std::int32_t n = param_read_int(value);
  return static_cast<std::uint32_t>(n < 0 || n > kFullPart ? kFullPart : n);
}
}  // namespace

void registration_apply_options(GaugeHeader *gauge) {
  StringElement *plate = plate_text(gauge);
  if (!plate || !gauge->parameters || gauge->parameters[0] == '\0') return;
  const char *blank = param_find_key(gauge->parameters, " ");
  if (!blank) return;
  const char *options = blank + 1;
  // The font takes the rest of the string, so the colour keys end at its f.
  const char *font = param_find_key(options, "f");
  if (font) set_font(plate, font + 1);
  std::uint32_t colour = plate->fg_color;
  for (const ColourKey &c : kColourKeys) {
    const char *hit = find_before(options, c.key, font);
    if (!hit) continue;
    colour = (colour & ~(0xFFu << c.shift)) | (colour_part(hit + 1) << c.shift);
  }
  plate->fg_color = colour & 0xFFFFFF;
}

void FSAPI registration_install(GaugeHeader *gauge, std::int32_t service, ServiceData) {
  if (service == kServiceInstall) registration_apply_options(gauge);
}

double FSAPI registration_text(StringElement *plate) {
  if (!plate) return 0.0;
  double own_value = plate->source_var[0].var_value.n;
  if (!plate->string) return own_value;
  const GaugeHeader *gauge = plate->header.gauge_header;
  const char *params = gauge ? gauge->parameters : nullptr;
  const char *text = kDefaultRegistration;
  if (params && param_find_key(params, "t") == params) text = params + 1;

  // The buffer's length counts the terminator; a buffer of none takes nothing.
  if (plate->max_string_length == 0) return own_value;
  std::size_t room = std::min<std::size_t>(plate->max_string_length - 1u, kPlateCharacters);
  std::size_t length = strnlen(text, room);
  if (const char *blank = find_before(text, " ", text + length)) length = blank - text;
  std::memcpy(plate->string, text, length);
  plate->string[length] = '\0';
  // Cutting first changes nothing: a comment character that hides an '_'
  // lies before it, inside the kept characters.
  for (char *u = plate->string; (u = const_cast<char *>(param_find_key(u, "_")));) *u = ' ';
  return own_value;
}

namespace {
struct Parts {
  StaticImageElement plate = static_image({.bitmap = 60, .flags = kImageStandard, .gauge = kSelf});
  StringElement registration = string_element({.flags = kImageStandard,
                                               .gauge = kSelf,
                                               .box = {150, 25},
                                               .callback = registration_text,
                                               .text_color = kWhite,
                                               .background_color = kBlack,
                                               .highlight_color = kHighlight,
                                               .font = "Arial",
                                               .weight = 400,
                                               .charset = kCharsetDefault,
                                               .draw_text_flags = kCentredSingleLine,
                                               .characters = kPlateCharacters});
};
constinit DrawOrder<Parts, &Parts::plate, &Parts::registration> tree;

MouseRect mouse[] = {mouse_parent({0, 0, 0, 0}, 0), mouse_end_parent(), mouse_end()};
}  // namespace

GaugeHeader Registration_Header = gauge_header<&Registration_Header>({.name = "Registration",
                                                .elements = tree.elements,
                                                .size_mm = 150,
                                                .mouse = mouse,
                                                .callback = registration_install});
