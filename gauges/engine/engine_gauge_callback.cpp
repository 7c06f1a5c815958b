#include "gauges/engine/engine_gauge_callback.h"

#include "frame/host_names.h"
#include "frame/params.h"

namespace {

template <std::size_t N>
std::int32_t stride_of(const EngineIdBlock (&rows)[N], std::int32_t id) {
  for (const EngineIdBlock &r : rows)
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

std::int32_t engine_token_stride(std::int32_t token) { return stride_of(kEngineVarBlocks, token); }
std::int32_t engine_event_stride(std::int32_t event) { return stride_of(kEngineEventBlocks, event); }

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
