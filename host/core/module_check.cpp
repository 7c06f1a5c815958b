#include "host/core/module_check.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>

#include "host/core/host.h"
#include "host/core/instance.h"
#include "host/core/mouse.h"
#include "host/core/tooltip.h"

namespace z480 {
namespace {

static_assert(sizeof(PlainRoutine) == sizeof(std::uintptr_t));

// A routine a record holds at an offset: what the host may call.
struct CodeSlot {
  std::int32_t kind;  // element kind; -1 for the gauge header
  std::size_t offset;
  const char *name;
};

#define Z480_SLOT(kind, type, field) {kind, offsetof(type, field), #field}
constexpr CodeSlot kCodeSlots[] = {
    Z480_SLOT(-1, GaugeHeader, query_routine),
    Z480_SLOT(-1, GaugeHeader, install_routine),
    Z480_SLOT(-1, GaugeHeader, initialize_routine),
    Z480_SLOT(-1, GaugeHeader, update_routine),
    Z480_SLOT(-1, GaugeHeader, generate_routine),
    Z480_SLOT(-1, GaugeHeader, draw_routine),
    Z480_SLOT(-1, GaugeHeader, kill_routine),
    Z480_SLOT(-1, GaugeHeader, gauge_callback),
    Z480_SLOT(kNeedle, NeedleElement, source_var_cb),
    Z480_SLOT(kNeedle, NeedleElement, display_value_fn),
    Z480_SLOT(kNeedle, NeedleElement, angle_fn),
    Z480_SLOT(kNeedle, NeedleElement, lag_fn),
    Z480_SLOT(kNeedle, NeedleElement, update_cb),
    Z480_SLOT(kString, StringElement, source_var_cb[0]),
    Z480_SLOT(kString, StringElement, source_var_cb[1]),
    Z480_SLOT(kString, StringElement, source_var_cb[2]),
    Z480_SLOT(kString, StringElement, source_fn),
    Z480_SLOT(kString, StringElement, update_cb),
    Z480_SLOT(kSlider, SliderElement, source_var_x_cb),
    Z480_SLOT(kSlider, SliderElement, lag_fn_x),
    Z480_SLOT(kSlider, SliderElement, source_var_y_cb),
    Z480_SLOT(kSlider, SliderElement, lag_fn_y),
    Z480_SLOT(kSlider, SliderElement, update_x_cb),
    Z480_SLOT(kSlider, SliderElement, update_y_cb),
    Z480_SLOT(kIcon, IconElement, source_var_cb),
    Z480_SLOT(kIcon, IconElement, update_cb),
    Z480_SLOT(kMovingImage, MovingImageElement, source_var_x_cb),
    Z480_SLOT(kMovingImage, MovingImageElement, lag_x),
    Z480_SLOT(kMovingImage, MovingImageElement, source_var_y_cb),
    Z480_SLOT(kMovingImage, MovingImageElement, lag_y),
    Z480_SLOT(kMovingImage, MovingImageElement, update_x_cb),
    Z480_SLOT(kMovingImage, MovingImageElement, update_y_cb),
    Z480_SLOT(kSprite, SpriteElement, source_var_x_cb),
    Z480_SLOT(kSprite, SpriteElement, source_var_y_cb),
    Z480_SLOT(kSprite, SpriteElement, source_var_0_cb),
    Z480_SLOT(kSprite, SpriteElement, update_x_cb),
    Z480_SLOT(kSprite, SpriteElement, update_y_cb),
    Z480_SLOT(kSprite, SpriteElement, update_0_cb),
};
#undef Z480_SLOT

std::string number(std::size_t n) { return std::to_string(n); }

template <typename F>
std::uintptr_t address(F routine) {
  return reinterpret_cast<std::uintptr_t>(routine);
}

// The first lie found ends the walk.
struct Lie {
  std::string text;
};

class Walk {
 public:
  explicit Walk(const ModuleMemory &memory) : memory_(memory) {}
  void linkage(const GaugeLinkage *linkage, const GaugeImport *imports);

 private:
  void gauge(std::size_t index, const GaugeHeader *g);
  void element(const GaugeElement *e, int depth, const std::string &referrer);
  void element_lists(const GaugeElement *e, int depth, const std::string &name);
  void mouse_list(const MouseRect *list);
  void tooltip(const MouseRect &r, const std::string &name);

  void need(bool ok, const std::string &what) const {
    if (!ok) throw Lie{prefix_ + what};
  }
  void routine(std::uintptr_t at, const std::string &name) const {
    need(at == 0 || memory_.code(at), name + " does not point at code");
  }
  // Every routine of the record of that kind.
  void routines(const void *record, std::int32_t kind, const std::string &name) const {
    for (const CodeSlot &slot : kCodeSlots) {
      if (slot.kind != kind) continue;
      std::uintptr_t at;
      std::memcpy(&at, static_cast<const unsigned char *>(record) + slot.offset, sizeof at);
      routine(at, name + slot.name);
    }
  }

  const ModuleMemory &memory_;
  std::string prefix_;
  std::size_t elements_ = 0;  // of the gauge being walked
};

void Walk::linkage(const GaugeLinkage *linkage, const GaugeImport *imports) {
  need(memory_.data(linkage, offsetof(GaugeLinkage, gauge_header_ptr)),
       "its Linkage lies outside the module's data");
  need(linkage->module_id == kModuleId, "its Linkage has an unknown module id");
  // The host writes the services pointer into it.
  need(memory_.writable(imports, sizeof *imports),
       "its ImportTable lies outside the module's writable data");
  routine(address(linkage->module_init), "its Linkage start routine");
  routine(address(linkage->module_deinit), "its Linkage stop routine");
  // The host reads no further than its own Linkage holds.
  for (std::size_t i = 0; i < std::size(linkage->gauge_header_ptr); ++i) {
    GaugeHeader *const *slot = &linkage->gauge_header_ptr[i];
    need(memory_.records(slot), "its Linkage ends outside the module's data at gauge " + number(i));
    if (!*slot) break;
    need(memory_.records(*slot), "Linkage gauge " + number(i) + " points outside the module's data");
    gauge(i, *slot);
    prefix_.clear();
  }
}

void Walk::gauge(std::size_t index, const GaugeHeader *g) {
  if (g->gauge_name) {
    need(memory_.text(g->gauge_name, kMaxGaugeName),
         "Linkage gauge " + number(index) + "'s name is no text in the module's data");
    prefix_ = "gauge " + std::string(g->gauge_name) + ": ";
  } else {
    prefix_ = "Linkage gauge " + number(index) + ": ";
  }
  routines(g, -1, "its ");
  elements_ = 0;
  if (g->elements_list) {
    need(memory_.records(g->elements_list), "its element list points outside the module's data");
    if (g->elements_list[0]) element(g->elements_list[0], 0, "its element list's root");
  }
  if (g->mouse_rect) mouse_list(g->mouse_rect);
}

void Walk::element(const GaugeElement *e, int depth, const std::string &referrer) {
  need(memory_.records(e), referrer + " points outside the module's data");
  std::string name = "element " + number(elements_);
  std::size_t size = element_record_size(e->element_type);
  need(size != 0, name + " is of unknown kind " + std::to_string(e->element_type));
  need(depth <= kMaxElementDepth && elements_ < kMaxElements,
       "its element tree is too deep or too large");
  ++elements_;
  name += " (" + std::string(element_kind_name(e->element_type)) + ")";
  need(memory_.data(e, size), name + " runs outside the module's data");
  routines(e, e->element_type, name + "'s ");
  element_lists(e, depth, name);
}

// The lists an element points at: failures, needle table, children.
void Walk::element_lists(const GaugeElement *e, int depth, const std::string &name) {
  // Read as the host reads them: to a record of key 0, at most one a key.
  for (int i = 0; e->failure_systems && i <= kLastFailureKey; ++i) {
    need(memory_.records(&e->failure_systems[i]),
         name + "'s failure list runs outside the module's data");
    if (e->failure_systems[i].key == 0) break;
  }
  if (e->element_type == kNeedle) {
    const auto *n = reinterpret_cast<const NeedleElement *>(e);
    std::uint32_t count = std::min(n->nonlinearity_table_size, kMaxTableEntries);
    need(!n->nonlinearity_table || memory_.records(n->nonlinearity_table, count),
         name + "'s nonlinearity table runs outside the module's data");
  }
  for (std::size_t i = 0; e->next_element && i < kMaxChildren; ++i) {
    need(memory_.records(&e->next_element[i]), name + "'s child list runs outside the module's data");
    if (!e->next_element[i]) break;
    element(e->next_element[i], depth + 1, name + "'s child " + number(i));
  }
}

void Walk::mouse_list(const MouseRect *list) {
  for (int i = 0; i < kMaxMouseRecords; ++i) {
    need(memory_.records(&list[i]), "its mouse list runs outside the module's data");
    const MouseRect &r = list[i];
    if (r.rect_type == kMouseEnd) return;
    std::string name = "its mouse list's record " + number(static_cast<std::size_t>(i));
    if (r.rect_type == kMouseTooltip)
      tooltip(r, name);
    else
      routine(address(r.mouse_function), name + " callback");
  }
  need(false, "its mouse list has no end record");
}

// A tooltip record keeps its format string and argument array where other
// records keep their callback and data.
void Walk::tooltip(const MouseRect &r, const std::string &name) {
  const char *format = reinterpret_cast<const char *>(r.mouse_function);
  need(!format || memory_.text(format, kMaxTooltipFormat),
       name + " tooltip text is no text in the module's data");
  const auto *args = static_cast<const MouseArg *>(r.api_data);
  if (!args || r.event_id <= 0) return;
  need(r.event_id <= kMaxTooltipArguments,
       name + " has " + std::to_string(r.event_id) + " tooltip arguments, more than " +
           std::to_string(kMaxTooltipArguments));
  auto count = static_cast<std::size_t>(r.event_id);
  need(memory_.records(args, count), name + " tooltip arguments run outside the module's data");
  for (std::size_t k = 0; k < count; ++k) {
    std::string arg = name + " tooltip argument " + number(k);
    routine(address(args[k].numeric_callback), arg + " numeric callback");
    routine(address(args[k].id_callback), arg + " id callback");
    routine(address(args[k].string_callback), arg + " string callback");
  }
}

}  // namespace

std::string module_records_fault(const GaugeLinkage *linkage, const GaugeImport *imports,
                                 const ModuleMemory &memory) {
  try {
    Walk(memory).linkage(linkage, imports);
  } catch (const Lie &lie) {
    return lie.text;
  }
  return "";
}

}  // namespace z480
