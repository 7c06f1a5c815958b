// Declaration helpers: one per element kind and one per mouse record kind, so
// a gauge reads like the table that describes it and never fills a record
// positionally. Every helper returns a complete record with the fields the
// helper does not name left at zero.
//
// A gauge file gathers its elements, and nothing else, in one struct and
// states their drawing order once, children included:
//
//   extern GaugeHeader Foo_Header;
//   constexpr GaugeHeader *kSelf = &Foo_Header;
//   struct Parts {
//     StaticImageElement dial = static_image({.bitmap = 1000, .flags = kImageLit, .gauge = kSelf});
//     NeedleElement hand = pointer({.bitmap = 1010, .pos = {50, 50}, .gauge = kSelf,
//                                   .pivot = {4, 30}, .token = kVarHeading});
//     StaticImageElement glass = static_image({.bitmap = 1020, .flags = kImageStandard,
//                                              .gauge = kSelf});
//   };
//   constinit DrawOrder<Parts, &Parts::dial, &Parts::hand, &Parts::glass> tree;
//   GaugeHeader Foo_Header = gauge_header<kSelf>({.name = "Foo", .elements = tree.elements, ...});
//
// Each element is drawn over the one before it (it is the single child of
// the one before). Where an element needs several children, the last item
// of the order is a branches<chain<...>, chain<...>> list: each chain hangs
// under the element before it, drawn in the order given. An element of the
// struct left out of the order, or named twice, does not compile. Code that
// needs an element by name reaches it as tree.hand.
#pragma once

#include <cstddef>
#include <type_traits>

#include "frame/host_names.h"
#include "frame/panel.h"
#include "frame/services.h"

// Image-flag sets the panel's pictures use.
inline constexpr std::uint32_t kImageStandard = kImageUseTransparency | kImageUseErase;
inline constexpr std::uint32_t kImageBright = kImageStandard | kImageUseBright;
inline constexpr std::uint32_t kImageSmooth = kImageStandard | kImageBilinearColor;
inline constexpr std::uint32_t kImageLit = kImageStandard | kImageUseLuminous;
// Turning pictures that light with the panel: needles, cards, drums.
inline constexpr std::uint32_t kImageLitSmooth = kImageLit | kImageBilinearColor;

// A failure list entry; a list ends with kFailuresEnd.
constexpr FailureRecord failure(FailureKey key, FailureAction action = kFailActionNone) {
  return {key, action, 0};
}
inline constexpr FailureRecord kFailuresEnd = {kFailNone, kFailActionNone, 0};

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
// initialisers read bitmap, position, flags, failures, owner. Child lists are
// the drawing order's (below), never a spec field.
#define Z480_ELEMENT_FIELDS_FLAGS(default_flags) \
  std::int32_t bitmap = 0;                       \
  PixPoint pos{};                                \
  std::uint32_t flags = default_flags;           \
  FailureRecord *failures = nullptr;             \
  GaugeHeader *gauge = nullptr
#define Z480_ELEMENT_FIELDS Z480_ELEMENT_FIELDS_FLAGS(0)

template <typename Spec>
constexpr GaugeElement element_header(ElementKind kind, const Spec &b, PixPoint ofs = {}) {
  GaugeElement e{};
  e.element_type = kind;
  e.resource_id = b.bitmap;
  e.position = b.pos;
  e.ofs = ofs;
  e.gauge_header = b.gauge;
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
  std::uint16_t characters = 0;  // the most the element shows
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
  // The record gives the text buffer's length, its terminator included:
  // a host that allocates just that many bytes still holds the whole text.
  e.max_string_length = static_cast<std::uint16_t>(s.characters + 1);
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

// The axes of a rolling digit drum (see frame/odometer.h): .x =
// drum_places(W, S), .y = drum_range(M).
constexpr Axis drum_places(double place, double span) { return {.min = place, .max = span}; }
constexpr Axis drum_range(double modulus) { return {.min = 0.0, .max = modulus}; }

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

// Hides an element (the host skips it while kImageHidden is set) or shows it.
inline void set_hidden(GaugeElement &e, bool hidden) {
  auto flags = static_cast<std::uint32_t>(e.image_flags);
  flags = hidden ? (flags | kImageHidden) : (flags & ~kImageHidden);
  e.image_flags = static_cast<std::int32_t>(flags);
}

// The element header of any element kind, for child lists.
template <typename Element>
constexpr GaugeElement *el(Element &e) {
  return &e.header;
}

// A needle that lights with the panel and turns smoothly: the pointers,
// markers and bars over a dial.
struct PointerSpec {
  Z480_ELEMENT_FIELDS_FLAGS(kImageLitSmooth);
  PixPoint pivot{};
  std::int32_t token = 0;
  NeedleCallback callback = nullptr;
  TableRef table{};
};
constexpr NeedleElement pointer(const PointerSpec &s) {
  return needle({.bitmap = s.bitmap,
                 .pos = s.pos,
                 .flags = s.flags,
                 .failures = s.failures,
                 .gauge = s.gauge,
                 .pivot = s.pivot,
                 .token = s.token,
                 .callback = s.callback,
                 .table = s.table});
}

// A lit warning flag or lamp: an icon whose callback picks the image (or
// none) to show.
struct FlagSpec {
  Z480_ELEMENT_FIELDS_FLAGS(kImageLit);
  std::int32_t token = 0;
  IconCallback callback = nullptr;
  std::int32_t images = 1;
};
constexpr IconElement flag(const FlagSpec &s) {
  return icon({.bitmap = s.bitmap,
               .pos = s.pos,
               .flags = s.flags,
               .failures = s.failures,
               .gauge = s.gauge,
               .token = s.token,
               .callback = s.callback,
               .images = s.images});
}

// A window drum read through odometer_drum: its place value and roll span,
// and the range of its strip of ten digits.
struct DrumSpec {
  Z480_ELEMENT_FIELDS_FLAGS(kImageLitSmooth);
  std::int32_t token = 0;
  double place = 1.0;
  double span = 0.1;
  double range = 10.0;
  MovingImageCallback callback = nullptr;
};
constexpr MovingImageElement drum(const DrumSpec &d) {
  return moving_image({.bitmap = d.bitmap,
                       .pos = d.pos,
                       .flags = d.flags,
                       .failures = d.failures,
                       .gauge = d.gauge,
                       .x = drum_places(d.place, d.span),
                       .y = {.token = d.token, .min = 0.0, .max = d.range},
                       .y_callback = d.callback});
}

// --- drawing order (see the example at the top)

template <auto... Items>
struct Chain {};
template <auto... Chains>
struct Branches {};
template <auto... Items>
inline constexpr Chain<Items...> chain{};
template <auto... Chains>
inline constexpr Branches<Chains...> branches{};

namespace draw_order_detail {

template <typename T>
inline constexpr bool is_group = false;
template <auto... I>
inline constexpr bool is_group<Chain<I...>> = true;
template <auto... C>
inline constexpr bool is_group<Branches<C...>> = true;
template <auto Item>
inline constexpr bool is_member = !is_group<std::remove_cvref_t<decltype(Item)>>;

template <typename Parts, typename E>
constexpr std::size_t size_of_member(E Parts::*) {
  return sizeof(E);
}

// Child-list slots (each list null-terminated) that linking a chain takes:
// a list under every element but the last, branches a list of their own.
template <auto... C>
constexpr std::size_t branch_slots(Branches<C...>);
template <auto First, auto... Rest>
constexpr std::size_t chain_slots(Chain<First, Rest...>) {
  if constexpr (!is_member<First>) {
    static_assert(sizeof...(Rest) == 0, "branches end a chain");
    return branch_slots(First);
  } else if constexpr (sizeof...(Rest) == 0) {
    return 2;
  } else {
    return 2 + chain_slots(Chain<Rest...>{});
  }
}
template <auto First, auto... Rest>
constexpr std::size_t tail_slots(Chain<First, Rest...>) {
  if constexpr (sizeof...(Rest) == 0)
    return 0;
  else
    return chain_slots(Chain<Rest...>{});
}
template <auto... C>
constexpr std::size_t branch_slots(Branches<C...>) {
  return sizeof...(C) + 1 + (tail_slots(C) + ... + 0);
}

// The total size of the elements named, so that one left out shows.
template <auto Item>
constexpr std::size_t named_size();
template <auto... I>
constexpr std::size_t group_size(Chain<I...>) {
  return (named_size<I>() + ... + 0);
}
template <auto... C>
constexpr std::size_t group_size(Branches<C...>) {
  return (named_size<C>() + ... + 0);
}
template <auto Item>
constexpr std::size_t named_size() {
  if constexpr (is_member<Item>)
    return size_of_member(Item);
  else
    return group_size(Item);
}

// How often member M is named anywhere in the order.
template <auto M, auto Item>
constexpr int count_in();
template <auto M, auto... I>
constexpr int count_group(Chain<I...>) {
  return (count_in<M, I>() + ... + 0);
}
template <auto M, auto... C>
constexpr int count_group(Branches<C...>) {
  return (count_in<M, C>() + ... + 0);
}
template <auto M, auto Item>
constexpr int count_in() {
  if constexpr (!is_member<Item>)
    return count_group<M>(Item);
  else if constexpr (std::is_same_v<decltype(M), decltype(Item)>)
    return M == Item ? 1 : 0;
  else
    return 0;
}

// Every member named exactly once.
template <typename Order, auto Item>
constexpr bool named_once();
template <typename Order, auto... I>
constexpr bool each_once(Chain<I...>) {
  return (named_once<Order, I>() && ...);
}
template <typename Order, auto... C>
constexpr bool each_once(Branches<C...>) {
  return (named_once<Order, C>() && ...);
}
template <typename Order, auto Item>
constexpr bool named_once() {
  if constexpr (is_member<Item>)
    return count_group<Item>(Order{}) == 1;
  else
    return each_once<Order>(Item);
}

}  // namespace draw_order_detail

template <typename Parts, auto Root, auto... Items>
class DrawOrder : public Parts {
  using Order = Chain<Root, Items...>;
  static_assert(draw_order_detail::is_member<Root>, "a gauge has one root element");
  static_assert(draw_order_detail::each_once<Order>(Order{}),
                "an element is named twice in the drawing order");
  static_assert(sizeof(Parts) == draw_order_detail::group_size(Order{}),
                "an element of the gauge is missing from its drawing order");

 public:
  // The gauge header's element list, {root, nullptr}, then the child lists.
  GaugeElement *elements[draw_order_detail::chain_slots(Order{})]{};

  constexpr DrawOrder() : Parts{} {
    std::size_t used = 0;
    attach<Root, Items...>(used);
  }

 private:
  template <typename E>
  constexpr GaugeElement &header(E Parts::*member) {
    return (static_cast<Parts &>(*this).*member).header;
  }
  constexpr GaugeElement **take(std::size_t n, std::size_t &used) {
    GaugeElement **list = elements + used;
    used += n;
    return list;
  }

  // A child list holding the first item, with the rest linked under it.
  template <auto Item, auto... Rest>
  constexpr GaugeElement **attach(std::size_t &used) {
    if constexpr (!draw_order_detail::is_member<Item>) {
      return attach_branches(Item, used);
    } else {
      GaugeElement **list = take(2, used);
      list[0] = &header(Item);
      list[1] = nullptr;
      if constexpr (sizeof...(Rest) > 0) header(Item).next_element = attach<Rest...>(used);
      return list;
    }
  }
  template <auto... C>
  constexpr GaugeElement **attach_branches(Branches<C...>, std::size_t &used) {
    GaugeElement **list = take(sizeof...(C) + 1, used);
    std::size_t i = 0;
    (hang(C, list[i++], used), ...);
    list[i] = nullptr;
    return list;
  }
  template <auto First, auto... Rest>
  constexpr void hang(Chain<First, Rest...>, GaugeElement *&slot, std::size_t &used) {
    slot = &header(First);
    if constexpr (sizeof...(Rest) > 0) header(First).next_element = attach<Rest...>(used);
  }
};

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
  GaugeElement **elements = nullptr;  // {root, nullptr}: a DrawOrder's elements
  std::uint32_t size_mm = 0;
  MouseRect *mouse = nullptr;
  GaugeCallback callback = nullptr;
};

// The seven routines of a gauge header, made as the host's own header maker
// makes them, since a host may call them: each hands the gauge's root
// element (the module's own record, which a host that copies the tree per
// placed instance knows as the copy's origin) to the matching element-list
// service. A routine is given no header, hence one set per header.
template <GaugeHeader *Self>
struct HeaderRoutines {
  static GaugeElement *root() { return Self->elements_list ? Self->elements_list[0] : nullptr; }
  static void FSAPI query() { element_list_query(root()); }
  static void FSAPI install(void *resources) { element_list_install(root(), resources); }
  static void FSAPI initialize() { element_list_initialize(root()); }
  static void FSAPI update() { element_list_update(root()); }
  static void FSAPI generate(std::uint32_t phase) { element_list_generate(root(), phase); }
  static void FSAPI draw() { element_list_plot(root()); }
  static void FSAPI kill() { element_list_kill(root()); }
};

// The header of the gauge whose record is *Self:
//   GaugeHeader Foo_Header = gauge_header<&Foo_Header>({...});
template <GaugeHeader *Self>
constexpr GaugeHeader gauge_header(const GaugeSpec &s) {
  using Routines = HeaderRoutines<Self>;
  GaugeHeader h{};
  h.query_routine = Routines::query;
  h.install_routine = Routines::install;
  h.initialize_routine = Routines::initialize;
  h.update_routine = Routines::update;
  h.generate_routine = Routines::generate;
  h.draw_routine = Routines::draw;
  h.kill_routine = Routines::kill;
  h.gauge_header_version = kGaugeHeaderVersion;
  h.gauge_name = s.name;
  h.elements_list = s.elements;
  h.size_x_mm = s.size_mm;
  h.mouse_rect = s.mouse;
  h.gauge_callback = s.callback;
  return h;
}
