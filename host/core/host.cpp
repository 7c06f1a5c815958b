#include "host/core/host.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "host/core/mouse.h"
#include "host/core/needle.h"
#include "host/core/tooltip.h"

namespace z480 {
namespace {

Host *g_host = nullptr;

// The panel services, as the module reaches them through ImportTable.
void FSAPI service_lookup_var(ModuleVar *var) {
  if (g_host && var) g_host->lookup(var);
}
std::uint32_t FSAPI service_trigger_key_event(std::int32_t id, std::uint32_t value) {
  if (g_host) g_host->send_key_event(id, value);
  return 0;
}
std::int32_t FSAPI service_toggle_panel_window(std::uint32_t ident) {
  if (g_host) g_host->asked_window(ident, Host::WindowChange::kToggle);
  return 1;
}
double FSAPI service_aircraft_varget(std::int32_t var, std::int32_t units, std::int32_t) {
  return g_host ? g_host->aircraft_var(var, units) : 0.0;
}
void *FSAPI service_query_host_interface(const char *name) {
  return g_host && name ? g_host->host_interface(name) : nullptr;
}

// The element-list services, reached by the header routines.
template <Routine R>
void FSAPI service_element_list(GaugeElement *root) {
  if (g_host) g_host->element_list(R, root);
}
void FSAPI service_element_list_install(GaugeElement *root, void *) {
  if (g_host) g_host->element_list(kInstall, root);
}
void FSAPI service_element_list_generate(GaugeElement *root, std::uint32_t) {
  if (g_host) g_host->element_list(kGenerate, root);
}

constexpr const char *kRoutineNames[] = {"query",    "install", "initialize", "update",
                                         "generate", "draw",    "kill"};
static_assert(std::size(kRoutineNames) == kKill + 1, "a name for every routine");

template <typename T>
T *as(GaugeElement *e) {
  return reinterpret_cast<T *>(e);
}

// Reads an element's variable when it names one.
void read(const Host &host, ModuleVar &var) {
  if (var.id != 0) host.lookup(&var);
}

// The value of one axis: the variable, then its variable callback, then the
// element callback, whichever are named.
template <typename Element, typename Callback>
double axis_value(const Host &host, Element *e, ModuleVar &var, ModuleVarCallback var_cb,
                  Callback element_cb) {
  read(host, var);
  double v = var.var_value.n;
  if (var_cb) v = var_cb(&var);
  if (element_cb) v = element_cb(e);
  return v;
}

// Icons: a negative index draws nothing; past the last image a lamp draws
// nothing and a multi-image icon its last image.
std::int32_t icon_image(const IconElement &icon, double value) {
  double v = value;
  if (icon.switch_type == kIconSetCurUsingRange || icon.switch_type == kIconStepToUsingRange)
    v = v * icon.scale + icon.offset;
  if (v != v) return -1;
  std::int32_t index = to_int(std::floor(v));
  if (index < 0) return -1;
  std::int32_t count = icon.num_icons < 1 ? 1 : icon.num_icons;
  if (index >= count) return count == 1 ? -1 : count - 1;
  return index;
}

}  // namespace

Host::Host(Module &module)
    : module_(module),
      audio_(std::make_unique<Audio>(module)),
      traffic_(std::make_unique<HostTraffic>()) {
  services_.module_id = kModuleId;
  services_.module_version = kModuleVersion;
  services_.toggle_panel_window = service_toggle_panel_window;
  services_.trigger_key_event = service_trigger_key_event;
  services_.lookup_var = service_lookup_var;
  services_.aircraft_varget = service_aircraft_varget;
  services_.query_host_interface = service_query_host_interface;
  services_.element_list_query = service_element_list<kQuery>;
  services_.element_list_install = service_element_list_install;
  services_.element_list_initialize = service_element_list<kInitialize>;
  services_.element_list_update = service_element_list<kUpdate>;
  services_.element_list_generate = service_element_list_generate;
  services_.element_list_plot = service_element_list<kDraw>;
  services_.element_list_kill = service_element_list<kKill>;
  set_interface(kTrafficInterfaceName, traffic_->provider());
  on_frame([this] { traffic_->fly(1.0 / kFramesPerSecond); });
  audio_->on_start([this](const SoundStart &s) {
    log_.push_back({LogEntry::kSound, s.wave_id, 0, s.gauge, s.time, audio_->started().size() - 1});
  });
  g_host = this;
  module_.imports().panels.fn_ptr = &services_;
  if (module_.linkage().module_init) module_.linkage().module_init();
}

Host::~Host() {
  while (!instances_.empty()) remove(instances_.back()->alias());
  if (module_.linkage().module_deinit) module_.linkage().module_deinit();
  module_.imports().panels.fn_ptr = nullptr;
  if (g_host == this) g_host = nullptr;
}

double Host::var(std::int32_t token) const {
  auto it = vars_.find(token);
  return it == vars_.end() ? 0.0 : it->second;
}
void Host::set_var(std::int32_t token, double value) { vars_[token] = value; }

void Host::set_aircraft_var(std::int32_t var, std::int32_t units, double value) {
  aircraft_vars_[{var, units}] = value;
}
double Host::aircraft_var(std::int32_t var, std::int32_t units) const {
  auto it = aircraft_vars_.find({var, units});
  return it == aircraft_vars_.end() ? 0.0 : it->second;
}

void Host::lookup(ModuleVar *var) const {
  var->var_old = var->var_value;
  var->var_value.n = this->var(var->id);
}

void Host::on_key_event(std::function<void(const KeyEvent &)> reaction) {
  reactions_.push_back(std::move(reaction));
}
void Host::on_frame(std::function<void()> work) { frame_work_.push_back(std::move(work)); }

void Host::send_key_event(std::int32_t id, std::uint32_t value) {
  events_.push_back({id, value});
  log_.push_back({LogEntry::kEvent, id, value, {}, seconds()});
  switch (id) {
    case kEventPanelIdToggle: asked_window(value, WindowChange::kToggle); break;
    case kEventPanelIdOpen: asked_window(value, WindowChange::kOpen); break;
    case kEventPanelIdClose: asked_window(value, WindowChange::kClose); break;
    default: pending_.push_back({id, value}); break;
  }
}

void Host::raise_key_event(std::int32_t id, std::uint32_t value) {
  for (auto &reaction : reactions_) reaction({id, value});
}

void Host::name_sounds(std::vector<LogEntry> &entries) const {
  for (LogEntry &e : entries)
    if (e.kind == LogEntry::kSound) e.id = audio_->started()[e.start].wave_id;
}

std::vector<LogEntry> Host::take_new_log() {
  std::vector<LogEntry> fresh(log_.begin() + static_cast<std::ptrdiff_t>(log_taken_), log_.end());
  log_taken_ = log_.size();
  return fresh;
}

void Host::set_failure(std::int32_t key, bool on) {
  if (on)
    failures_.insert(key);
  else
    failures_.erase(key);
}

FailureAction Host::failure_action(const GaugeElement &element) const {
  // A list ends at a record of key 0; a list without one is read no further
  // than there are keys.
  const FailureRecord *list = element.failure_systems;
  for (int i = 0; list && i <= kLastFailureKey && list[i].key != 0; ++i) {
    std::int32_t action = list[i].action;
    bool known = action > 0 && action <= kFailActionCover;
    if (known && failed(list[i].key)) return static_cast<FailureAction>(action);
  }
  return kFailActionNone;
}

void Host::set_window(std::uint32_t ident, bool shown) {
  bool changed = shown ? shown_windows_.insert(ident).second : shown_windows_.erase(ident) != 0;
  windows_unsettled_ = windows_unsettled_ || changed;
  if (module_calls_ == 0) settle_windows();
}

Host::ModuleCall::~ModuleCall() {
  if (--host_.module_calls_ == 0) host_.settle_windows();
}

void Host::settle_windows() {
  // Runs after every module call, so it costs nothing unless a window or a
  // placement changed since the last time.
  if (settling_ || !windows_unsettled_) return;
  settling_ = true;
  // A gauge that opens or closes windows when it connects could swing back
  // and forth; a few rounds settle any sane panel.
  for (int round = 0; round < 8; ++round) {
    bool changed = false;
    std::vector<Instance *> order;
    for (auto &i : instances_) order.push_back(i.get());
    for (Instance *inst : order) {
      const auto &where = inst->placement();
      bool shown = !where || window_shown(where->window);
      if (shown == inst->connected()) continue;
      inst->set_connected(shown);
      service(*inst, shown ? kServiceConnect : kServiceDisconnect, 0);
      changed = true;
    }
    if (!changed) break;
  }
  windows_unsettled_ = false;
  settling_ = false;
}

void Host::set_panel_windows(std::vector<PanelWindowConfig> windows) {
  for (std::size_t i = instances_.size(); i-- > 0;)
    if (instances_[i]->placement()) remove(instances_[i]->alias());
  panel_windows_ = std::move(windows);
  for (PanelWindowConfig &w : panel_windows_) {
    w.gauges.clear();
    set_window(w.ident, w.visible);
  }
}
void Host::toggle_window(std::uint32_t ident) { set_window(ident, !window_shown(ident)); }

void Host::asked_window(std::uint32_t ident, WindowChange change) {
  if (window_router_) return window_router_(ident, change);
  if (change == WindowChange::kToggle) return toggle_window(ident);
  set_window(ident, change == WindowChange::kOpen);
}

void Host::set_interface(const std::string &name, void *object) { interfaces_[name] = object; }
void *Host::host_interface(const std::string &name) const {
  auto it = interfaces_.find(name);
  return it == interfaces_.end() ? nullptr : it->second;
}

Instance *Host::place(const std::string &gauge, const std::string &alias,
                      std::optional<std::string> parameters, std::string *error,
                      std::optional<Placement> where) {
  if (instance(alias)) {
    *error = "an instance named " + alias + " is already placed";
    return nullptr;
  }
  GaugeHeader *header = module_.find_gauge(gauge);
  if (!header) {
    *error = "the module has no gauge " + gauge;
    return nullptr;
  }
  auto inst = Instance::create(header, alias, std::move(parameters), error);
  if (!inst) return nullptr;
  give_element_pixels(*inst, module_.handle());
  Instance *placed = inst.get();
  if (where) placed->set_placement(*where);
  instances_.push_back(std::move(inst));
  windows_unsettled_ = true;
  // Once the install has returned, the host connects the instance when its
  // window is shown. The header routines run where their service codes
  // say: query first, install between services 2 and 3, initialize after.
  auto handle = reinterpret_cast<ServiceData>(module_.handle());
  {
    ModuleCall install(*this);
    call_routine(*placed, kQuery);
    service(*placed, kServiceInstall, handle);
    call_routine(*placed, kInstall, module_.handle());
  }
  service(*placed, kServicePostInstall, handle);
  call_routine(*placed, kInitialize);
  return placed;
}

bool Host::remove(const std::string &alias) {
  for (auto it = instances_.begin(); it != instances_.end(); ++it) {
    if ((*it)->alias() != alias) continue;
    // Out of the list first, so that no window change reaches it meanwhile.
    std::unique_ptr<Instance> gone = std::move(*it);
    instances_.erase(it);
    if (gone->connected()) service(*gone, kServiceDisconnect, 0);
    service(*gone, kServiceKill, 0);
    call_routine(*gone, kKill);
    return true;
  }
  return false;
}

Instance *Host::instance(const std::string &alias) {
  for (auto &i : instances_)
    if (i->alias() == alias) return i.get();
  return nullptr;
}

void Host::service(Instance &inst, std::int32_t code, ServiceData extra) {
  ModuleCall call(*this);
  Audio::Caller caller(*audio_, inst.alias());
  if (GaugeCallback cb = inst.header()->gauge_callback) cb(inst.header(), code, extra);
}

void Host::apply_pending_events() {
  std::vector<KeyEvent> due;
  due.swap(pending_);
  for (const KeyEvent &e : due)
    for (auto &reaction : reactions_) reaction(e);
}

void Host::spend_work() {
  if (!work_left_) return;
  if (*work_left_ == 0) throw WorkLimitReached();
  --*work_left_;
}

void Host::frame() {
  spend_work();
  // Instances placed or removed by a callback take effect from the next frame.
  std::vector<Instance *> order;
  for (auto &i : instances_) order.push_back(i.get());
  for (Instance *inst : order) {
    if (!inst->connected()) continue;
    // An event sent by one gauge reaches the simulation before the next
    // gauge updates, so the next gauge reads its effect.
    apply_pending_events();
    service(*inst, kServicePreUpdate, 0);
    // The elements update through the header's update routine; a header
    // without one, or whose routine reaches no elements of its own, is
    // updated all the same.
    if (!call_routine(*inst, kUpdate) || !routine_updated_) evaluate(*inst);
    call_routine(*inst, kDraw);
  }
  apply_pending_events();
  ++frames_;
  audio_->set_time(seconds());
  for (auto &work : frame_work_) work();
}

bool Host::call_routine(Instance &inst, Routine routine, void *resources) {
  const GaugeHeader &h = *inst.header();
  ModuleCall call(*this);
  Instance *outer = routine_instance_;
  routine_instance_ = &inst;
  routine_called_ = routine_reached_ = routine_updated_ = false;
  bool had = true;
  switch (routine) {
    case kQuery: had = h.query_routine && (h.query_routine(), true); break;
    case kInstall: had = h.install_routine && (h.install_routine(resources), true); break;
    case kInitialize: had = h.initialize_routine && (h.initialize_routine(), true); break;
    case kUpdate: had = h.update_routine && (h.update_routine(), true); break;
    case kGenerate: had = h.generate_routine && (h.generate_routine(0), true); break;
    case kDraw: had = h.draw_routine && (h.draw_routine(), true); break;
    case kKill: had = h.kill_routine && (h.kill_routine(), true); break;
  }
  routine_instance_ = outer;
  if (had && !routine_called_)
    routine_fault(inst.alias() + ": its " + kRoutineNames[routine] +
                  " routine called no element-list service");
  return had && routine_reached_;
}

void Host::element_list(Routine routine, GaugeElement *root) {
  Instance *inst = routine_instance_;
  if (!inst) {
    routine_fault(std::string("the ") + kRoutineNames[routine] +
                  " service was called outside a header routine");
    return;
  }
  routine_called_ = true;
  GaugeElement *const *origin = inst->source()->elements_list;
  bool own = root && (root == inst->header()->elements_list[0] || (origin && root == origin[0]));
  if (!own) {
    const GaugeHeader *other = root ? root->gauge_header : nullptr;
    std::string whose = other && other != inst->source() && other->gauge_name
                            ? std::string(" of ") + other->gauge_name
                            : "";
    routine_fault(inst->alias() + ": its " + kRoutineNames[routine] +
                  " routine handed the host the elements" + whose);
    return;
  }
  routine_reached_ = true;
  ++inst->routines_reached()[routine];
  if (routine == kUpdate && !routine_updated_) {
    routine_updated_ = true;
    evaluate(*inst);
  }
}

void Host::routine_fault(const std::string &what) {
  for (const std::string &f : routine_faults_)
    if (f == what) return;
  routine_faults_.push_back(what);
}

void Host::evaluate(Instance &inst) {
  ModuleCall call(*this);
  Audio::Caller caller(*audio_, inst.alias());
  const auto &elements = inst.elements();
  auto &views = inst.views();
  for (std::size_t i = 0; i < elements.size(); ++i) {
    GaugeElement *e = elements[i];
    ElementView &v = views[i];
    FailureAction failure = failures_.empty() ? kFailActionNone : failure_action(*e);
    v.failure = static_cast<std::int32_t>(failure);
    if (failure != kFailActionNone) {
      evaluate_failed(e, v, failure);
      record_element(*e, v);
      continue;
    }
    switch (e->element_type) {
      case kNeedle: {
        auto *n = as<NeedleElement>(e);
        v.value = axis_value(*this, n, n->source_var, n->source_var_cb, n->update_cb);
        // No reading, or one that turns an open-ended scale without end,
        // leaves the needle where it was.
        if (v.value != v.value) break;
        double angle = table_angle(n->nonlinearity_table, n->nonlinearity_table_size, v.value);
        if (std::isfinite(angle)) v.needle = wrap_degrees(angle);
        break;
      }
      case kString: {
        auto *s = as<StringElement>(e);
        for (int k = 0; k < 3; ++k) read(*this, s->source_var[k]);
        v.value = s->update_cb ? s->update_cb(s) : s->source_var[0].var_value.n;
        if (s->string) {
          s->string[string_buffer_size(*s) - 1] = '\0';
          v.text = s->string;
        }
        break;
      }
      case kSlider: {
        auto *s = as<SliderElement>(e);
        v.x = axis_value(*this, s, s->source_var_x, s->source_var_x_cb, s->update_x_cb) *
              s->scale_x;
        v.y = axis_value(*this, s, s->source_var_y, s->source_var_y_cb, s->update_y_cb) *
              s->scale_y;
        break;
      }
      case kIcon: {
        auto *c = as<IconElement>(e);
        v.value = axis_value(*this, c, c->source_var, c->source_var_cb, c->update_cb);
        v.image = icon_image(*c, v.value);
        break;
      }
      case kMovingImage: {
        auto *m = as<MovingImageElement>(e);
        v.x = axis_value(*this, m, m->source_var_x, m->source_var_x_cb, m->update_x_cb);
        v.y = axis_value(*this, m, m->source_var_y, m->source_var_y_cb, m->update_y_cb);
        break;
      }
      case kSprite: {
        auto *s = as<SpriteElement>(e);
        v.x = axis_value(*this, s, s->source_var_x, s->source_var_x_cb, s->update_x_cb) *
              s->scale_x;
        v.y = axis_value(*this, s, s->source_var_y, s->source_var_y_cb, s->update_y_cb) *
              s->scale_y;
        v.value = axis_value(*this, s, s->source_var_0, s->source_var_0_cb, s->update_0_cb);
        v.angle = v.value * s->scale_0;
        break;
      }
      default:
        break;
    }
    record_element(*e, v);
  }
}

// A failed element is not updated: frozen, covered or undrawn it keeps what
// it showed; zeroed it shows the value 0.
void Host::evaluate_failed(GaugeElement *e, ElementView &v, FailureAction action) {
  if (action != kFailActionZero) return;
  v.value = v.x = v.y = v.angle = 0;
  if (e->element_type == kNeedle) {
    auto *n = as<NeedleElement>(e);
    double angle = table_angle(n->nonlinearity_table, n->nonlinearity_table_size, 0.0);
    if (std::isfinite(angle)) v.needle = wrap_degrees(angle);
  } else if (e->element_type == kIcon) {
    v.image = icon_image(*as<IconElement>(e), 0.0);
  }
}

bool Host::click(Instance &inst, PixPoint point, std::uint32_t flags) {
  spend_work();
  MouseHit hit = find_mouse_target(inst.mouse(), point, flags);
  if (!hit.rect) return false;
  ModuleCall call(*this);
  Audio::Caller caller(*audio_, inst.alias());
  if (hit.rect->mouse_function) {
    MouseCallbackRecord record{};
    record.relative_point = {point.x - hit.origin.x, point.y - hit.origin.y};
    record.gauge = inst.header();
    record.mouse = hit.rect;
    record.screen_point = point;
    hit.rect->mouse_function(&record, flags);
  } else {
    send_key_event(hit.rect->event_id, 0);
  }
  return true;
}

std::int32_t Host::help_id(Instance &inst, PixPoint point) {
  return help_at(inst.mouse(), point);
}

std::int32_t Host::tooltip_help_id(Instance &inst, PixPoint point) {
  const MouseRect *record = tooltip_at(inst.mouse(), point);
  return record ? record->help_id : 0;
}

std::int32_t Host::cursor(Instance &inst, PixPoint point) {
  MouseHit hit = find_mouse_target(inst.mouse(), point, ~std::uint32_t{0});
  return hit.rect ? hit.rect->cursor : kCursorNone;
}

std::string Host::tooltip(Instance &inst, PixPoint point) {
  const MouseRect *record = tooltip_at(inst.mouse(), point);
  if (!record) return "";
  ModuleCall call(*this);
  return format_tooltip(*record, inst.header(),
                        [this](ModuleVar *var) { lookup(var); });
}

}  // namespace z480
