// Declaration helpers: one per element kind and one per mouse record kind, so
// a gauge reads like the table that describes it and never fills a record
// positionally. Every helper returns a complete record with the fields the
// helper does not name left at zero.
//
// A gauge file declares, in drawing order:
//   extern GaugeHeader Foo_Header;          // the header, defined at the end
//   extern GaugeElement *dial_next[];       // child lists, defined after the children
//   StaticImageElement dial = static_image({.bitmap = 1000, .flags = 0x4003,
//                                           .next = dial_next, .gauge = &Foo_Header});
//   ...
#pragma once

#include <cstddef>

#include "frame/panel.h"

// A needle table entry: the value and the background point it maps to.
constexpr NonlinearityEntry table_point(double value, std::int32_t x, std::int32_t y) {
  return NonlinearityEntry{{x, y}, value, 0.0};
}

struct TableRef {
  NonlinearityEntry *entries = nullptr;
  std::uint32_t size = 0;
};
template <std::size_t N>
constexpr TableRef table(NonlinearityEntry (&entries)[N]) {
  return {entries, static_cast<std::uint32_t>(N)};
}

// Fields shared by every element kind, first in every spec so designated
// initialisers read bitmap, position, flags, children, failures, owner.
#define Z480_ELEMENT_FIELDS                \
  std::int32_t bitmap = 0;                 \
  PixPoint pos{};                          \
  std::uint32_t flags = 0;                 \
  GaugeElement **next = nullptr;           \
  FailureRecord *failures = nullptr;       \
  GaugeHeader *gauge = nullptr

template <typename Spec>
constexpr GaugeElement element_header(ElementKind kind, const Spec &b, PixPoint ofs = {}) {
  GaugeElement e{};
  e.element_type = kind;
  e.resource_id = b.bitmap;
  e.position = b.pos;
  e.ofs = ofs;
  e.gauge_header = b.gauge;
  e.next_element = b.next;
  e.failure_systems = b.failures;
  e.image_flags = static_cast<std::int32_t>(b.flags);
  return e;
}

constexpr ModuleVar module_var(std::int32_t token) {
  ModuleVar v{};
  v.id = token;
  return v;
}

struct StaticImageSpec {
  Z480_ELEMENT_FIELDS;};
constexpr StaticImageElement static_image(const StaticImageSpec &s) {
  StaticImageElement e{};
  e.header = element_header(kStaticImage, s);
  return e;
}

struct NeedleSpec {
  Z480_ELEMENT_FIELDS;
  PixPoint pivot{};  // the turning point inside the needle's own bitmap
  std::int32_t token = 0;
  NeedleCallback callback = nullptr;
  TableRef table{};
  std::int32_t max_degrees_per_tick = 0;
};
constexpr NeedleElement needle(const NeedleSpec &s) {
  NeedleElement e{};
  e.header = element_header(kNeedle, s, s.pivot);
  e.source_var = module_var(s.token);
  e.update_cb = s.callback;
  e.nonlinearity_table = s.table.entries;
  e.nonlinearity_table_size = s.table.size;
  e.max_degrees_per_tick = s.max_degrees_per_tick;
  return e;
}

struct StringSpec {
  Z480_ELEMENT_FIELDS;
  PixPoint box{};  // width and height of the text box
  std::int32_t tokens[3] = {0, 0, 0};
  StringCallback callback = nullptr;
  std::uint32_t text_color = 0;  // 0x00BBGGRR
  std::uint32_t background_color = 0;
  std::uint32_t highlight_color = 0;
  const char *font = "";
  std::int32_t weight = 400;
  std::uint8_t charset = 0;
  std::uint32_t draw_text_flags = 0;
  std::uint16_t characters = 0;
};
constexpr StringElement string_element(const StringSpec &s) {
  StringElement e{};
  e.header = element_header(kString, s);
  if (s.bitmap == 0) e.header.resource_id = -1;
  for (int i = 0; i < 3; ++i) e.source_var[i] = module_var(s.tokens[i]);
  e.img_size = s.box;
  e.update_cb = s.callback;
  e.fg_color = s.text_color;
  e.bg_color = s.background_color;
  e.hilite_color = s.highlight_color;
  for (std::size_t i = 0; i + 1 < sizeof e.font_name && s.font[i] != '\0'; ++i)
    e.font_name[i] = s.font[i];
  e.font_weight = s.weight;
  e.font_charset = s.charset;
  e.draw_text_flags = s.draw_text_flags;
  e.max_string_length = s.characters;
  e.sel_str = -1;
  e.sel_end = -1;
  return e;
}

// One axis of a slider, moving image or sprite.
struct Axis {
  std::int32_t token = 0;
  double scale = 0.0;
  double min = 0.0;  // moving images: the value range the mask spans
  double max = 0.0;
};

struct SliderSpec {
  Z480_ELEMENT_FIELDS;
  Axis x{}, y{};
  SliderCallback x_callback = nullptr;
  SliderCallback y_callback = nullptr;
};
constexpr SliderElement slider(const SliderSpec &s) {
  SliderElement e{};
  e.header = element_header(kSlider, s);
  e.source_var_x = module_var(s.x.token);
  e.scale_x = s.x.scale;
  e.source_var_y = module_var(s.y.token);
  e.scale_y = s.y.scale;
  e.update_x_cb = s.x_callback;
  e.update_y_cb = s.y_callback;
  return e;
}

struct IconSpec {
  Z480_ELEMENT_FIELDS;
  std::int32_t token = 0;
  IconCallback callback = nullptr;
  std::int32_t images = 1;
  IconSwitchType switch_type = kIconSetCurIcon;
  double scale = 1.0;
  std::int32_t offset = 0;
};
constexpr IconElement icon(const IconSpec &s) {
  IconElement e{};
  e.header = element_header(kIcon, s);
  e.source_var = module_var(s.token);
  e.update_cb = s.callback;
  e.switch_type = s.switch_type;
  e.num_icons = s.images;
  e.scale = s.scale;
  e.offset = s.offset;
  return e;
}

struct MovingImageSpec {
  Z480_ELEMENT_FIELDS;
  Axis x{}, y{};
  MovingImageCallback x_callback = nullptr;
  MovingImageCallback y_callback = nullptr;
};
constexpr MovingImageElement moving_image(const MovingImageSpec &s) {
  MovingImageElement e{};
  e.header = element_header(kMovingImage, s);
  e.source_var_x = module_var(s.x.token);
  e.min_x = s.x.min;
  e.max_x = s.x.max;
  e.scale_x = s.x.scale;
  e.source_var_y = module_var(s.y.token);
  e.min_y = s.y.min;
  e.max_y = s.y.max;
  e.scale_y = s.y.scale;
  e.update_x_cb = s.x_callback;
  e.update_y_cb = s.y_callback;
  return e;
}

struct SpriteSpec {
  Z480_ELEMENT_FIELDS;
  PixPoint centre{};  // texture centre, the turning point
  Axis x{}, y{}, rotation{};
  float texture_scale_x = 1.0f;
  float texture_scale_y = 1.0f;
  SpriteCallback x_callback = nullptr;
  SpriteCallback y_callback = nullptr;
  SpriteCallback rotation_callback = nullptr;
};
constexpr SpriteElement sprite(const SpriteSpec &s) {
  SpriteElement e{};
  e.header = element_header(kSprite, s, s.centre);
  e.source_var_x = module_var(s.x.token);
  e.scale_x = s.x.scale;
  e.source_var_y = module_var(s.y.token);
  e.scale_y = s.y.scale;
  e.source_var_0 = module_var(s.rotation.token);
  e.scale_0 = s.rotation.scale;
  e.texture_scale_x = s.texture_scale_x;
  e.texture_scale_y = s.texture_scale_y;
  e.update_x_cb = s.x_callback;
  e.update_y_cb = s.y_callback;
  e.update_0_cb = s.rotation_callback;
  return e;
}

// The element header of any element kind, for child lists.
template <typename Element>
constexpr GaugeElement *el(Element &e) {
  return &e.header;
}

// Mouse records.
constexpr MouseRect mouse_parent(PixBox box, std::int32_t help_id) {
  MouseRect r{};
  r.rect_type = kMouseParent;
  r.relative_box = box;
  r.cursor = kCursorNone;
  r.help_id = help_id;
  return r;
}
constexpr MouseRect mouse_event(PixBox box, std::int32_t cursor, std::uint32_t flags,
                                std::int32_t event_id) {
  MouseRect r{};
  r.rect_type = kMouseChild;
  r.relative_box = box;
  r.cursor = cursor;
  r.mouse_flags = flags;
  r.event_id = event_id;
  return r;
}
constexpr MouseRect mouse_callback(PixBox box, std::int32_t cursor, std::uint32_t flags,
                                   MouseCallback fn) {
  MouseRect r{};
  r.rect_type = kMouseChild;
  r.relative_box = box;
  r.cursor = cursor;
  r.mouse_flags = flags;
  r.mouse_function = fn;
  return r;
}
constexpr MouseRect mouse_end_parent() {
  MouseRect r{};
  r.rect_type = kMouseEndParent;
  r.cursor = kCursorNone;
  return r;
}
constexpr MouseRect mouse_end() {
  MouseRect r{};
  r.rect_type = kMouseEnd;
  r.cursor = kCursorNone;
  return r;
}
// A tooltip given by a host help id.
constexpr MouseRect mouse_tooltip(std::int32_t help_id) {
  MouseRect r{};
  r.rect_type = kMouseTooltip;
  r.cursor = kCursorNone;
  r.help_id = help_id;
  return r;
}
// A tooltip given by a format string ("RANGE: %2!.0f!") and its arguments.
MouseRect mouse_tooltip_format(const char *format, MouseArg *args, std::int32_t count);

struct GaugeSpec {
  const char *name = nullptr;
  GaugeElement **elements = nullptr;  // {root, nullptr}
  std::uint32_t size_mm = 0;
  MouseRect *mouse = nullptr;
  GaugeCallback callback = nullptr;
};
constexpr GaugeHeader gauge_header(const GaugeSpec &s) {
  GaugeHeader h{};
  h.gauge_header_version = kGaugeHeaderVersion;
  h.gauge_name = s.name;
  h.elements_list = s.elements;
  h.size_x_mm = s.size_mm;
  h.mouse_rect = s.mouse;
  h.gauge_callback = s.callback;
  return h;
}
