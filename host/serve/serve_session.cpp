#include "host/serve/serve_session.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/host_names.h"
#include "host/script/host_resources.h"
#include "host/model/model_clock.h"
#include "host/core/help_texts.h"
#include "host/core/mouse.h"
#include "host/core/panel_loader.h"
#include "host/render/render.h"
#include "platform/resources.h"

namespace z480 {
namespace {

// Set before any scenario: the host's models and its clock run.
constexpr const char kSetup[] = "model on\nclock on\n";

void put_word(std::string &out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

cairo_status_t to_string(void *closure, const unsigned char *data, unsigned int length) {
  static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string png_bytes(const Pixels &pixels) {
  cairo_surface_t *surface = to_surface(pixels, false);
  std::string png;
  cairo_surface_write_to_png_stream(surface, to_string, &png);
  cairo_surface_destroy(surface);
  return png;
}

namespace {

const PanelWindowConfig *window_of(const Host &host, std::uint32_t ident) {
  for (const PanelWindowConfig &w : host.panel_windows())
    if (w.ident == ident) return &w;
  return nullptr;
}

}  // namespace

const std::vector<Scenario> &scenarios() {
  static const std::vector<Scenario> kScenarios = {
      {"cold", "Cold and dark", {1}, 0},
      {"ready", "Ready for take-off", {2}, 0},
      {"approach", "On approach at 3000 ft", {2, 3}, std::nullopt},
  };
  return kScenarios;
}

std::unique_ptr<PanelSession> PanelSession::open(const std::string &module_path,
                                                 std::string panel_text,
                                                 const std::string &scenario, std::ostream &out,
                                                 std::string *why,
                                                 std::vector<std::filesystem::path> folders) {
  std::unique_ptr<PanelSession> s(
      new PanelSession(module_path, std::move(panel_text), std::move(folders), out));
  if (!s->reset(scenario, why)) return nullptr;
  return s;
}

PanelSession::PanelSession(std::string module_path, std::string panel_text,
                           std::vector<std::filesystem::path> folders, std::ostream &out)
    : module_path_(std::move(module_path)),
      panel_text_(std::move(panel_text)),
      folders_(std::move(folders)),
      out_(out) {}

PanelSession::~PanelSession() {
  // The host unloads its gauges before the module goes.
  run_.reset();
  renderer_.reset();
}

bool PanelSession::reset(const std::string &name, std::string *why) {
  auto it = std::find_if(scenarios().begin(), scenarios().end(),
                         [&](const Scenario &s) { return s.name == name; });
  if (it == scenarios().end()) {
    *why = "no scenario " + name;
    return false;
  }
  auto module = Module::load(module_path_, why);
  if (!module) return false;
  run_.reset();
  renderer_.reset();
  module_ = std::move(module);
  run_ = std::make_unique<ScriptRun>(*module_, out_);
  renderer_ = std::make_unique<Renderer>(module_->handle());
  run_->host.audio().on_start([this](const SoundStart &s) { sounds_.push_back(s); });
  play("setup", kSetup);
  for (const PanelDiagnostic &d : load_panel(run_->host, parse_panel_config(panel_text_), folders_))
    out_ << "panel.cfg:" << d.line << ": warning: " << printable(d.message) << "\n";
  for (int id : it->scripts)
    play(std::string("scenario ") + it->name, std::string(host_resource("SCENARIO", id)));
  if (it->power) controls({.power = it->power});
  scenario_ = it->name;
  ++generation_;
  lay_out();
  return true;
}

bool PanelSession::run_script(const std::string &file, const std::string &source) {
  bool ok = play(file, source);
  lay_out();
  return ok;
}

bool PanelSession::play(const std::string &file, const std::string &source) {
  int failed = run_->failed() + run_->errors();
  try {
    for (const Step &step : parse_script(tokenize_script(file, source))) step(*run_);
  } catch (const ScriptError &e) {
    out_ << printable(e.what()) << "\n";
    return false;
  }
  return run_->failed() + run_->errors() == failed;
}

void PanelSession::lay_out() {
  Host &host = run_->host;
  std::vector<GaugeBox> laid;
  for (const auto &inst : host.instances()) {
    if (!inst->placement()) continue;
    const Placement &p = *inst->placement();
    GaugeBox g;
    g.alias = inst->alias();
    g.window = p.window;
    g.x = p.x;
    g.y = p.y;
    auto [w, h] = renderer_->size(*inst);
    g.pixels_x = std::max(w, 1);
    g.pixels_y = std::max(h, 1);
    g.width = p.width;
    g.height = p.height.value_or(static_cast<int>(std::lround(1.0 * p.width * g.pixels_y / g.pixels_x)));
    if (auto b = window_box(*renderer_, *inst)) {
      g.scale_x = b->sx;
      g.scale_y = b->sy;
    }
    g.targets = mouse_targets(inst->mouse());
    laid.push_back(std::move(g));
  }
  gauges_ = std::move(laid);
}

GaugeBox *PanelSession::box(const std::string &alias) {
  for (GaugeBox &g : gauges_)
    if (g.alias == alias) return &g;
  return nullptr;
}

Instance *PanelSession::shown(const std::string &alias) {
  Instance *inst = run_->host.instance(alias);
  return inst && inst->connected() && box(alias) ? inst : nullptr;
}

void PanelSession::frame() { run_->host.frame(); }

FlightReadout PanelSession::flight() {
  const Host &h = run_->host;
  const FlightDynamics *model = flight_dynamics(*run_);
  constexpr double kFpmPerHostUnit = 60.0 / (0.3048 * 256.0);
  // The host counts the nose down and the left wing down positive.
  return {.pitch = -h.var(kVarPitch),
          .bank = -h.var(kVarBank),
          .speed = h.var(kVarIndicatedAirspeed),
          .altitude = h.var(kVarIndicatedAltitude),
          .heading = h.var(kVarHeading),
          .vertical_speed = h.var(kVarVerticalSpeed) * kFpmPerHostUnit,
          .power = h.var(kVarEngine1PowerLever),
          .hands = pilot_controls(*run_),
          .flying = model != nullptr,
          .stall_warning = model && model->stall_warning()};
}

std::optional<std::string> PanelSession::gauge_png(const std::string &alias) {
  Instance *inst = shown(alias);
  if (!inst) return std::nullopt;
  auto [w, h] = renderer_->size(*inst);
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, w), std::max(1, h));
  cairo_t *cr = cairo_create(surface);
  renderer_->draw(cr, *inst, 0, 0, 1, 1);
  cairo_destroy(cr);
  std::string png;
  cairo_surface_write_to_png_stream(surface, to_string, &png);
  cairo_surface_destroy(surface);
  return png;
}

std::optional<std::string> PanelSession::window_png(std::uint32_t ident, std::string *why) {
  std::string png;
  if (!render_png_bytes(run_->host, *renderer_, &png, ident, why)) return std::nullopt;
  return png;
}

const std::string &PanelSession::bitmaps() {
  if (!bitmaps_.empty()) return bitmaps_;
  std::vector<std::uint32_t> ids = bitmap_ids(module_->handle());
  std::string out;
  std::uint32_t count = 0;
  for (std::uint32_t id : ids) {
    auto pixels = load_bitmap(module_->handle(), id);
    if (!pixels) continue;
    std::string png = png_bytes(*pixels);
    put_word(out, id);
    put_word(out, static_cast<std::uint32_t>(png.size()));
    out += png;
    ++count;
  }
  std::string head;
  put_word(head, count);
  bitmaps_ = head + out;
  return bitmaps_;
}

MouseResult PanelSession::mouse(const MouseRequest &r) {
  const GaugeBox *g = box(r.gauge);
  if (!g) return MouseResult::kNoGauge;
  if (r.x >= g->pixels_x || r.y >= g->pixels_y) return MouseResult::kOutside;
  // A page may still show a window the panel has just closed.
  Instance *inst = shown(r.gauge);
  if (!inst) return MouseResult::kMissed;
  PixPoint p{r.x, r.y};
  // A held button repeats only on rectangles that repeat.
  if ((r.flags & kMouseDownRepeat) && !find_mouse_target(inst->mouse(), p, kMouseDownRepeat).rect)
    return MouseResult::kMissed;
  return run_->host.click(*inst, p, r.flags) ? MouseResult::kTaken : MouseResult::kMissed;
}

std::optional<PanelSession::Hover> PanelSession::hover(const std::string &gauge, int x, int y) {
  MouseResult moved = mouse({gauge, x, y, kMouseMove});
  if (moved == MouseResult::kNoGauge || moved == MouseResult::kOutside) return std::nullopt;
  Instance *inst = shown(gauge);
  if (!inst) return Hover{};
  PixPoint p{x, y};
  Hover h{run_->host.cursor(*inst, p), run_->host.tooltip(*inst, p), 0};
  if (h.tooltip.empty()) {
    std::int32_t id = run_->host.tooltip_help_id(*inst, p);
    h.help_id = id ? id : run_->host.help_id(*inst, p);
    h.tooltip = help_text(h.help_id);
  }
  return h;
}

void PanelSession::controls(const ControlRequest &r) {
  PilotControls hands = pilot_controls(*run_);
  if (r.elevator) hands.elevator = *r.elevator;
  if (r.aileron) hands.aileron = *r.aileron;
  if (r.rudder) hands.rudder = *r.rudder;
  set_pilot_controls(*run_, hands);
  if (r.power) {
    auto lever = static_cast<std::uint32_t>(std::lround(*r.power * kAxisFullScale));
    run_->host.send_key_event(kEventEngine1PowerLeverSet, lever);
    run_->host.send_key_event(kEventEngine2PowerLeverSet, lever);
  }
}

bool PanelSession::set_window(const WindowRequest &r) {
  if (!window_of(run_->host, r.ident)) return false;
  run_->host.set_window(r.ident, r.shown);
  return true;
}

std::optional<std::string> PanelSession::wave(std::int32_t id) const {
  auto bytes = platform::find_resource(module_->handle(), "WAVE", static_cast<std::uint32_t>(id));
  if (!bytes) return std::nullopt;
  return std::string(reinterpret_cast<const char *>(bytes->data()), bytes->size());
}

}  // namespace z480
