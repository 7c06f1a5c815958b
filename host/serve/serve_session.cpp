#include "host/serve/serve_session.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frame/host_names.h"
#include "host/script/host_resources.h"
#include "host/model/model_clock.h"
#include "host/core/mouse.h"
#include "host/core/panel_loader.h"
#include "host/render/render.h"
#include "platform/resources.h"

namespace z480 {
namespace {

// The page lays the screen out for this width; gauges are drawn at the size
// they take there (never larger than their own pixels) and scaled by the
// browser for any other width.
constexpr double kScreenPixels = 1600;

// Set before any scenario: the host's models and its clock run.
constexpr const char kSetup[] = "model on\nclock on\n";

void append_bytes(std::string &key, const void *p, std::size_t n) {
  key.append(static_cast<const char *>(p), n);
}
template <typename T>
void append(std::string &key, const T &v) {
  append_bytes(key, &v, sizeof v);
}

// Numbers closer than this draw the same picture (a ten-thousandth of a
// degree, a pixel or a unit of a value).
constexpr double kKeyResolution = 1e4;

// Everything the renderer draws an instance from, as one string: two equal
// keys draw the same picture.
std::string snapshot_key(Instance &inst) {
  std::string key;
  for (std::size_t i = 0; i < inst.views().size(); ++i) {
    const ElementView &v = inst.views()[i];
    // What an element drew for itself (the traffic screen), by its hash.
    if (const ElementPixels *p = inst.pixels(i))
      append(key, std::hash<std::string_view>{}(std::string_view(
                      reinterpret_cast<const char *>(p->words.data()), p->words.size() * 4)));
    for (double d : {v.value, v.x, v.y, v.angle, v.needle, v.min_x, v.max_x, v.min_y, v.max_y,
                     v.texture_scale_x, v.texture_scale_y})
      append(key, std::isfinite(d) ? std::round(d * kKeyResolution) : d);
    for (std::int32_t i : {v.kind, v.image, v.failure, v.bitmap, v.position.x, v.position.y,
                           v.ofs.x, v.ofs.y, v.box.x, v.box.y})
      append(key, i);
    for (std::uint32_t u : {v.flags, v.text_color, v.background_color, v.draw_text_flags})
      append(key, u);
    append(key, v.table);
    key += v.text;
    key += '\0';
    key += v.font;
    key += '\0';
  }
  return key;
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
  run_->host.audio().on_start([this](const SoundStart &s) { sounds_.push_back(s.wave_id); });
  play("setup", kSetup);
  for (const PanelDiagnostic &d : load_panel(run_->host, parse_panel_config(panel_text_), folders_))
    out_ << "panel.cfg:" << d.line << ": warning: " << printable(d.message) << "\n";
  for (int id : it->scripts)
    play(std::string("scenario ") + it->name, std::string(host_resource("SCENARIO", id)));
  if (it->power) controls({.power = it->power});
  scenario_ = it->name;
  ++generation_;
  lay_out();
  draw_changed();
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
  std::vector<GaugeImage> laid;
  for (const auto &inst : host.instances()) {
    if (!inst->placement()) continue;
    const Placement &p = *inst->placement();
    GaugeImage g;
    g.alias = inst->alias();
    g.window = p.window;
    g.x = p.x;
    g.y = p.y;
    auto [w, h] = renderer_->size(*inst);
    g.pixels_x = std::max(w, 1);
    g.pixels_y = std::max(h, 1);
    g.width = p.width;
    g.height = p.height.value_or(static_cast<int>(std::lround(1.0 * p.width * g.pixels_y / g.pixels_x)));
    if (GaugeImage *old = image(g.alias)) g.version = old->version;
    laid.push_back(std::move(g));
  }
  gauges_ = std::move(laid);
}

GaugeImage *PanelSession::image(const std::string &alias) {
  for (GaugeImage &g : gauges_)
    if (g.alias == alias) return &g;
  return nullptr;
}

Instance *PanelSession::shown(const std::string &alias) {
  Instance *inst = run_->host.instance(alias);
  return inst && inst->connected() && image(alias) ? inst : nullptr;
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

int PanelSession::draw_changed() {
  Host &host = run_->host;
  int drawn = 0;
  for (GaugeImage &g : gauges_) {
    Instance *inst = host.instance(g.alias);
    if (!inst || !inst->connected()) {
      if (!g.png.empty()) {
        g.png.clear();
        g.key.clear();
        g.version = next_version_++;
      }
      continue;
    }
    std::string key = snapshot_key(*inst);
    if (!g.png.empty() && key == g.key) continue;
    const PanelWindowConfig *w = window_of(host, g.window);
    double screen = w && w->width > 0 ? kScreenPixels * w->size_x.value_or(1.0) / w->width : 1.0;
    double sx = std::min(1.0, screen * g.width / g.pixels_x);
    double sy = std::min(1.0, screen * g.height / g.pixels_y);
    int pw = std::max(1, static_cast<int>(std::ceil(g.pixels_x * sx)));
    int ph = std::max(1, static_cast<int>(std::ceil(g.pixels_y * sy)));
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
    cairo_t *cr = cairo_create(surface);
    renderer_->draw(cr, *inst, 0, 0, sx, sy);
    cairo_destroy(cr);
    std::string png;
    cairo_surface_write_to_png_stream(surface, to_string, &png);
    cairo_surface_destroy(surface);
    g.png = std::move(png);
    g.key = std::move(key);
    g.version = next_version_++;
    ++drawn;
  }
  return drawn;
}

MouseResult PanelSession::mouse(const MouseRequest &r) {
  const GaugeImage *g = image(r.gauge);
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
  return Hover{run_->host.cursor(*inst, p), run_->host.tooltip(*inst, p)};
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
