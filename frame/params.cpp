#include "frame/params.h"

#include <cstring>
#include <limits>

#include "frame/services.h"

namespace {

struct Named {
  const char *name;
  std::int32_t value;
};

// Tried in this order; the first name the value begins with wins.
constexpr Named kPanelWindows[] = {
    {"MAIN_PANEL", 0},          {"RADIO_STACK_PANEL", 50},   {"COMPASS_PANEL", 75},
    {"ANNUNCIATOR_PANEL", 125}, {"ANNUNCIATOR2_PANEL", 150}, {"COLLECTIVE_PANEL", 200},
    {"THROTTLE_PANEL", 10},     {"MINI_CONTROLS_PANEL", 100}, {"IFR_MAIN_PANEL", 175},
    {"GPS_PANEL", 225},         {"OVERHEAD_PANEL", 250},
};

constexpr Named kHelpNames[] = {
    {"TOGGLE_RADIO_WINDOW", 43910},    {"TOGGLE_GPS_WINDOW", 43911},
    {"TOGGLE_THROTTLE_WINDOW", 43912}, {"TOGGLE_COMPASS_WINDOW", 43913},
    {"TOGGLE_FUEL_WINDOW", 43914},     {"TOGGLE_COLLECTIVE_WINDOW", 43915},
};

constexpr std::int32_t kFirstHelpId = 40960;

template <std::size_t N>
const Named *prefix_match(const char *text, const Named (&table)[N]) {
  for (const Named &n : table)
    if (std::strncmp(text, n.name, std::strlen(n.name)) == 0) return &n;
  return nullptr;
}

bool has_text(const GaugeHeader *gauge) {
  return gauge && gauge->parameters && gauge->parameters[0] != '\0';
}

// Sends event with the window ident after every occurrence of key.
void apply_window_key(const char *text, const char *key, std::int32_t event) {
  for (const char *hit = param_find_key(text, key); hit; hit = param_find_key(hit + 1, key)) {
    std::int32_t ident = panel_ident_from_text(hit + std::strlen(key));
    if (ident >= 0) trigger_key_event(event, static_cast<std::uint32_t>(ident));
  }
}

}  // namespace

const char *param_find_key(const char *text, const char *key) {
  if (!text || !key || !*key) return nullptr;
  std::size_t end = std::strcspn(text, "/#'");
  std::size_t key_length = std::strlen(key);
  for (std::size_t i = 0; i + key_length <= end; ++i)
    if (std::strncmp(text + i, key, key_length) == 0) return text + i;
  return nullptr;
}

std::int32_t param_read_int(const char *text) {
  if (!text) return 0;
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; *text >= '0' && *text <= '9'; ++text)
    if (value < kLimit) value = value * 10 + (*text - '0');
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::int32_t panel_ident_from_text(const char *text) {
  if (!text || !*text) return -1;
  if (const Named *n = prefix_match(text, kPanelWindows)) return n->value;
  return param_read_int(text);
}

std::int32_t help_id_from_text(const char *text) {
  if (!text) return 0;
  if (const Named *n = prefix_match(text, kHelpNames)) return n->value;
  std::int32_t id = param_read_int(text);
  return id < kFirstHelpId ? 0 : id;
}

int param_apply_panel_actions(GaugeHeader *gauge) {
  if (!has_text(gauge)) return 0;
  const char *text = gauge->parameters;
  apply_window_key(text, "o", kEventPanelIdOpen);
  apply_window_key(text, "c", kEventPanelIdClose);
  apply_window_key(text, "t", kEventPanelIdToggle);
  if (const char *p = param_find_key(text, "p")) {
    std::int32_t n = param_read_int(p + 1);
    if (n == 0) {
      trigger_key_event(kEventPanelStepReset);
    } else {
      std::int32_t event = n > 0 ? kEventPanelStepForward : kEventPanelStepBack;
      std::int64_t steps = n > 0 ? std::int64_t{n} : -std::int64_t{n};
      if (steps > kMaxPanelSteps) steps = kMaxPanelSteps;
      for (std::int64_t i = 0; i < steps; ++i) trigger_key_event(event);
    }
  }
  return 1;
}

void param_apply_install_keys(GaugeHeader *gauge) {
  if (!has_text(gauge)) return;
  const char *text = gauge->parameters;
  if (const char *b = param_find_key(text, "b")) {
    std::int32_t bitmap = param_read_int(b + 1);
    GaugeElement *background = gauge->elements_list ? gauge->elements_list[0] : nullptr;
    if (!background || bitmap % 10 != 0 || bitmap < 100 || bitmap > 200) return;
    background->resource_id = bitmap;
  }
  if (const char *h = param_find_key(text, "h")) {
    if (gauge->mouse_rect && gauge->mouse_rect[0].rect_type != kMouseEnd)
      gauge->mouse_rect[0].help_id = help_id_from_text(h + 1);
  }
}

void param_apply_auto_close(GaugeHeader *gauge) {
  if (!has_text(gauge)) return;
  if (const char *a = param_find_key(gauge->parameters, "a")) {
    std::int32_t ident = panel_ident_from_text(a + 1);
    if (ident >= 0) trigger_key_event(kEventPanelIdClose, static_cast<std::uint32_t>(ident));
  }
}
