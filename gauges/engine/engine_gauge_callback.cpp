#include "gauges/engine/engine_gauge_callback.h"

#include "frame/params.h"

namespace {

// Ids first to last (inclusive) belong to engine 1; engine n uses
// id + (n - 1) x stride.
struct StrideRow {
  std::int32_t first, last, stride;
};

constexpr StrideRow kTokenStrides[] = {
    {127, 161, 35}, {390, 428, 39}, {558, 567, 10}, {608, 608, 1}, {624, 642, 19},
    {700, 707, 8},  {732, 733, 2},  {761, 762, 2},  {801, 801, 1},
};

constexpr StrideRow kEventStrides[] = {
    {65538, 65538, 1}, {65820, 65820, 1}, {65919, 65919, 1}, {65923, 65923, 1}, {65927, 65932, 6},
    {65963, 65967, 5}, {65983, 65987, 5}, {66003, 66007, 5}, {66081, 66083, 3}, {66126, 66127, 2},
    {66300, 66300, 1}, {66313, 66313, 1}, {66329, 66330, 2}, {66340, 66340, 1}, {66345, 66345, 1},
    {66349, 66349, 1}, {66359, 66359, 1}, {66363, 66363, 1},
};

template <std::size_t N>
std::int32_t stride_of(const StrideRow (&rows)[N], std::int32_t id) {
  for (const StrideRow &r : rows)
    if (id >= r.first && id <= r.last) return r.stride;
  return 0;
}

// Only ids inside a row move, by at most three strides: no overflow.
void shift_token(ModuleVar &var, int k) { var.id += k * engine_token_stride(var.id); }

template <typename Element>
Element &as(GaugeElement *e) {
  return *reinterpret_cast<Element *>(e);
}

// Every host-variable token that the element's kind carries.
void shift_element(GaugeElement *e, int k) {
  switch (e->element_type) {
    case kNeedle:
      shift_token(as<NeedleElement>(e).source_var, k);
      break;
    case kIcon:
      shift_token(as<IconElement>(e).source_var, k);
      break;
    case kString:
      for (ModuleVar &v : as<StringElement>(e).source_var) shift_token(v, k);
      break;
    case kSlider:
      shift_token(as<SliderElement>(e).source_var_x, k);
      shift_token(as<SliderElement>(e).source_var_y, k);
      break;
    case kMovingImage:
      shift_token(as<MovingImageElement>(e).source_var_x, k);
      shift_token(as<MovingImageElement>(e).source_var_y, k);
      break;
    case kSprite:
      shift_token(as<SpriteElement>(e).source_var_x, k);
      shift_token(as<SpriteElement>(e).source_var_y, k);
      shift_token(as<SpriteElement>(e).source_var_0, k);
      break;
    default:
      break;
  }
}

// Element trees are the module's own and shallow; the bound only keeps a
// damaged record from running away.
constexpr int kMaxDepth = 64;
constexpr int kMaxMouseRecords = 4096;

void shift_tree(GaugeElement *e, int k, int depth) {
  if (!e || depth > kMaxDepth) return;
  shift_element(e, k);
  if (!e->next_element) return;
  for (GaugeElement **child = e->next_element; *child; ++child) shift_tree(*child, k, depth + 1);
}

}  // namespace

bool param_has_digit(const char *parameters, char digit) {
  const char key[2] = {digit, '\0'};
  return param_find_key(parameters, key) != nullptr;
}

int engine_from_parameters(const char *parameters) {
  for (char digit = '1'; digit <= '4'; ++digit)
    if (param_has_digit(parameters, digit)) return digit - '0';
  return 1;
}

std::int32_t engine_token_stride(std::int32_t token) { return stride_of(kTokenStrides, token); }
std::int32_t engine_event_stride(std::int32_t event) { return stride_of(kEventStrides, event); }

void retarget_gauge(GaugeHeader *gauge, int engine) {
  if (!gauge || engine < 2 || engine > 4) return;
  int k = engine - 1;
  if (MouseRect *r = gauge->mouse_rect) {
    for (int i = 0; i < kMaxMouseRecords && r[i].rect_type != kMouseEnd; ++i)
      if (r[i].rect_type == kMouseChild) r[i].event_id += k * engine_event_stride(r[i].event_id);
  }
  if (gauge->elements_list)
    for (GaugeElement **e = gauge->elements_list; *e; ++e) shift_tree(*e, k, 0);
}

void FSAPI engine_gauge_callback(GaugeHeader *gauge, std::int32_t service, ServiceData) {
  if (service != kServiceInstall || !gauge || !gauge->parameters) return;
  retarget_gauge(gauge, engine_from_parameters(gauge->parameters));
}
