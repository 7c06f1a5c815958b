#include "host/core/instance.h"

#include <cstring>

#include "host/core/mouse.h"
#include "host/core/needle.h"

namespace z480 {

std::size_t string_buffer_size(const StringElement &s) {
  return s.max_string_length > 0 ? s.max_string_length : 1;
}

namespace {

struct KindRecord {
  std::int32_t kind;
  std::size_t size;
  const char *name;
};
constexpr KindRecord kKinds[] = {
    {kStaticImage, sizeof(StaticImageElement), "static image"},
    {kNeedle, sizeof(NeedleElement), "needle"},
    {kString, sizeof(StringElement), "string"},
    {kSlider, sizeof(SliderElement), "slider"},
    {kIcon, sizeof(IconElement), "icon"},
    {kMovingImage, sizeof(MovingImageElement), "moving image"},
    {kSprite, sizeof(SpriteElement), "sprite"},
};

const KindRecord *kind_record(std::int32_t kind) {
  for (const KindRecord &k : kKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

}  // namespace

std::size_t element_record_size(std::int32_t kind) {
  const KindRecord *k = kind_record(kind);
  return k ? k->size : 0;
}

const char *element_kind_name(std::int32_t kind) {
  const KindRecord *k = kind_record(kind);
  return k ? k->name : "unknown kind";
}

void record_element(const GaugeElement &e, ElementView &v) {
  v.bitmap = e.resource_id;
  v.position = e.position;
  v.ofs = e.ofs;
  v.flags = static_cast<std::uint32_t>(e.image_flags);
  switch (e.element_type) {
    case kNeedle:
      v.table = reinterpret_cast<const NeedleElement &>(e).nonlinearity_table_size > 0;
      break;
    case kMovingImage: {
      const auto &m = reinterpret_cast<const MovingImageElement &>(e);
      v.min_x = m.min_x;
      v.max_x = m.max_x;
      v.min_y = m.min_y;
      v.max_y = m.max_y;
      break;
    }
    case kSprite: {
      const auto &s = reinterpret_cast<const SpriteElement &>(e);
      v.texture_scale_x = s.texture_scale_x;
      v.texture_scale_y = s.texture_scale_y;
      break;
    }
    case kString: {
      const auto &s = reinterpret_cast<const StringElement &>(e);
      v.box = s.img_size;
      v.text_color = s.fg_color;
      v.background_color = s.bg_color;
      v.draw_text_flags = s.draw_text_flags;
      v.font.assign(s.font_name, strnlen(s.font_name, sizeof s.font_name));
      break;
    }
    default:
      break;
  }
}

std::unique_ptr<Instance> Instance::create(GaugeHeader *gauge, std::string alias,
                                           std::optional<std::string> parameters,
                                           std::string *error) {
  std::unique_ptr<Instance> inst(new Instance);
  inst->alias_ = std::move(alias);
  inst->parameters_ = std::move(parameters);
  inst->source_ = gauge;
  inst->header_ = *gauge;
  inst->header_.parameters = inst->parameters_ ? inst->parameters_->c_str() : nullptr;
  inst->header_.user_data = 0;
  inst->header_.elements_list = inst->root_list_;
  if (gauge->elements_list && gauge->elements_list[0]) {
    inst->root_list_[0] = inst->copy_tree(gauge->elements_list[0], 0, error);
    if (!inst->root_list_[0]) return nullptr;
  }
  if (gauge->mouse_rect) {
    int n = 0;
    while (n < kMaxMouseRecords && gauge->mouse_rect[n].rect_type != kMouseEnd) ++n;
    if (n == kMaxMouseRecords) {
      *error = "mouse list of " + std::string(gauge->gauge_name ? gauge->gauge_name : "a gauge") +
               " has no end record";
      return nullptr;
    }
    inst->mouse_.assign(gauge->mouse_rect, gauge->mouse_rect + n + 1);
  }
  inst->header_.mouse_rect = inst->mouse();
  inst->views_.resize(inst->order_.size());
  for (std::size_t i = 0; i < inst->order_.size(); ++i) {
    inst->views_[i].kind = inst->order_[i]->element_type;
    record_element(*inst->order_[i], inst->views_[i]);
  }
  return inst;
}

GaugeElement *Instance::copy_tree(GaugeElement *e, int depth, std::string *error) {
  std::size_t size = element_record_size(e->element_type);
  if (size == 0) {
    *error = "element of unknown kind " + std::to_string(e->element_type);
    return nullptr;
  }
  if (depth > kMaxElementDepth || order_.size() >= kMaxElements) {
    *error = "element tree too deep or too large";
    return nullptr;
  }
  auto bytes = std::make_unique<unsigned char[]>(size);
  std::memcpy(bytes.get(), e, size);
  auto *copy = reinterpret_cast<GaugeElement *>(bytes.get());
  storage_.push_back(std::move(bytes));
  copy->gauge_header = &header_;
  order_.push_back(copy);

  if (copy->element_type == kNeedle) {
    auto *n = reinterpret_cast<NeedleElement *>(copy);
    if (n->nonlinearity_table && n->nonlinearity_table_size > 0) {
      std::uint32_t count = n->nonlinearity_table_size;
      if (count > kMaxTableEntries) count = kMaxTableEntries;
      auto table = std::make_unique<NonlinearityEntry[]>(count);
      std::memcpy(table.get(), n->nonlinearity_table, count * sizeof(NonlinearityEntry));
      n->nonlinearity_table = table.get();
      n->nonlinearity_table_size = count;
      fill_table_angles(table.get(), count, copy->position);
      tables_.push_back(std::move(table));
    }
  } else if (copy->element_type == kString) {
    auto *s = reinterpret_cast<StringElement *>(copy);
    // The record's length is the buffer's, its terminator included: the
    // host gives just that many bytes, so a gauge writing past them shows
    // (in a sanitizer build at once).
    auto buffer = std::make_unique<char[]>(string_buffer_size(*s));
    buffer[0] = '\0';
    s->string = buffer.get();
    s->string_old = nullptr;
    s->font_name[sizeof s->font_name - 1] = '\0';
    strings_.push_back(std::move(buffer));
  }

  if (e->next_element) {
    std::size_t n = 0;
    while (n < kMaxChildren && e->next_element[n]) ++n;
    auto list = std::make_unique<GaugeElement *[]>(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
      list[i] = copy_tree(e->next_element[i], depth + 1, error);
      if (!list[i]) return nullptr;
      list[i]->previous_element = copy;
    }
    list[n] = nullptr;
    copy->next_element = list.get();
    child_lists_.push_back(std::move(list));
  }
  return copy;
}

}  // namespace z480
