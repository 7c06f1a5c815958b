#include "host/serve/serve.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <future>

#include "host/panel/panel_background.h"
#include "host/script/host_resources.h"

namespace z480 {
namespace {

using nlohmann::json;

constexpr auto kTick = std::chrono::microseconds(1000000 / Host::kFramesPerSecond);
// A page with more messages than this still unwritten misses a frame; what
// it missed comes with the next one it takes.
constexpr int kMostWaiting = 2;

// The page's files: the embedded PAGE resources.
struct PageFile {
  const char *path;
  std::uint32_t id;
  const char *type;
};
constexpr PageFile kPageFiles[] = {
    {"/", 1, "text/html; charset=utf-8"},
    {"/panel.js", 2, "text/javascript; charset=utf-8"},
    {"/draw.js", 3, "text/javascript; charset=utf-8"},
    {"/input.js", 4, "text/javascript; charset=utf-8"},
};

// Set by SIGINT and SIGTERM; the panel's thread then stops the server.
std::atomic<bool> g_interrupted{false};
extern "C" void on_interrupt(int) { g_interrupted = true; }

HttpResponse plain(int status, const std::string &why) {
  return {status, "text/plain; charset=utf-8", why + "\n", ""};
}
HttpResponse json_response(const json &j) { return {200, "application/json", j.dump(), ""}; }
HttpResponse bytes(std::string body, const char *type, const char *cache = "") {
  return {200, type, std::move(body), cache};
}

json number(double v) { return std::isfinite(v) ? json(v) : json(0); }

// To the strip's own precision: finer would change the strip every frame
// (the flight model's smallest stirrings) and send it each time.
json shown(double v, double step) {
  double per = std::round(1 / step);
  return std::isfinite(v) ? json(per >= 1 ? std::round(v * per) / per : std::round(v / step) * step) : json(0);
}

// "0,50,250": the windows a page opens with.
std::optional<WindowSets::Set> window_list(std::string_view text) {
  WindowSets::Set set;
  while (!text.empty()) {
    std::string_view one = text.substr(0, text.find(','));
    auto ident = whole_number(one, 0, UINT32_MAX);
    if (!ident) return std::nullopt;
    set.insert(static_cast<std::uint32_t>(*ident));
    text.remove_prefix(std::min(text.size(), one.size() + 1));
  }
  return set;
}

// A page's request as the fields a form would carry: strings and numbers
// only, as written.
std::optional<Fields> json_fields(const json &j, std::string *why) {
  Fields f;
  for (const auto &[key, value] : j.items()) {
    if (key == "type" || key == "id") continue;
    if (value.is_string())
      f[key] = value.get<std::string>();
    else if (value.is_number())
      f[key] = value.dump();
    else {
      *why = key + " must be a string or a number";
      return std::nullopt;
    }
  }
  return f;
}

}  // namespace

PanelServer::PanelServer(std::unique_ptr<PanelSession> session, NetLimits limits)
    : session_(std::move(session)), net_(*this, limits) {
  Host &host = session_->host();
  WindowSets::Set shown;
  for (const PanelWindowConfig &w : host.panel_windows()) {
    if (host.window_shown(w.ident)) shown.insert(w.ident);
    if (w.visible) panel_windows_.insert(w.ident);
  }
  windows_ = WindowSets(shown);
  // The bitmaps are encoded once, before any page waits for them.
  bitmaps_url_ = "/api/bitmaps?v=" + std::to_string(std::hash<std::string>{}(session_->bitmaps()));
  after_reset();
  panel_ = std::thread([this] { work_loop(); });
}

PanelServer::~PanelServer() {
  stop();
  if (panel_.joinable()) panel_.join();
}

int PanelServer::bind(int port, std::string *why) { return net_.bind(port, why); }

void PanelServer::run() { net_.run(); }

void PanelServer::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  net_.stop();
}

void PanelServer::work(std::function<void()> job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void PanelServer::tick() {
  std::promise<void> done;
  work([&] {
    frame_tick();
    done.set_value();
  });
  done.get_future().wait();
}

void PanelServer::work_loop() {
  auto next = std::chrono::steady_clock::now() + kTick;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait_until(lock, next, [&] { return stopping_ || !jobs_.empty(); });
    // Jobs left at the end still run: someone may wait for them.
    while (!jobs_.empty()) {
      auto job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      job();
      lock.lock();
    }
    if (stopping_) break;
    auto now = std::chrono::steady_clock::now();
    if (now < next) continue;
    lock.unlock();
    frame_tick();
    if (g_interrupted) stop();
    lock.lock();
    // A machine that fell behind skips the ticks it missed rather than
    // running them all at once.
    next += kTick;
    if (now - next > 4 * kTick) next = now + kTick;
  }
}

void PanelServer::after_reset() {
  encoder_.reset(session_->gauges().size());
  WindowSets::Set all;
  for (const PanelWindowConfig &w : session_->host().panel_windows()) all.insert(w.ident);
  windows_.keep_only(all);
  session_->host().route_windows(
      [this](std::uint32_t ident, Host::WindowChange change) { windows_.ask(asking_, ident, change); });
  settle_windows();
  // A page that comes before the first tick gets the panel as it stands.
  capture();
}

void PanelServer::capture() {
  Host &host = session_->host();
  const auto &gauges = session_->gauges();
  for (std::size_t i = 0; i < gauges.size(); ++i) {
    Instance *inst = host.instance(gauges[i].alias);
    encoder_.capture(i, inst && inst->connected() ? inst : nullptr);
  }
}

void PanelServer::settle_windows() { show_windows(session_->host(), windows_.shown()); }

void PanelServer::frame_tick() {
  if (!paused_) {
    due_ += rate_;
    for (; due_ >= 1; due_ -= 1) session_->frame();
  }
  settle_windows();
  capture();
  ++ticks_;
  for (auto &[id, page] : pages_) send(id, page);
}

std::vector<bool> PanelServer::shows(std::uint64_t page) {
  const WindowSets::Set &windows = windows_.of(page);
  std::vector<bool> out;
  for (const GaugeBox &g : session_->gauges()) out.push_back(windows.count(g.window) != 0);
  return out;
}

void PanelServer::send(std::uint64_t id, Page &page) {
  if (page.generation != session_->generation()) {
    // A new panel: everything afresh, but no sound of the old one.
    page.copy = {};
    page.generation = session_->generation();
    page.told_windows = false;
    page.sounds = session_->sounds().size();
    page.strip = nullptr;
    page.link->send(layout().dump(), false);
  }
  if (page.link->waiting() > kMostWaiting) return;
  Host &host = session_->host();
  json f = {{"type", "frame"}, {"tick", ticks_}, {"time", host.seconds()}};
  const WindowSets::Set &windows = windows_.of(id);
  if (!page.told_windows || windows != page.windows) {
    const auto &gauges = session_->gauges();
    for (std::size_t i = 0; i < gauges.size(); ++i)
      if (!windows.count(gauges[i].window)) FrameEncoder::forget(page.copy, i);
    f["windows"] = windows;
    page.windows = windows;
    page.told_windows = true;
  }
  std::vector<std::string> pixels;
  f["gauges"] = encoder_.update(page.copy, shows(id), &pixels);
  const auto &sounds = session_->sounds();
  if (page.sounds < sounds.size()) {
    json started = json::array();
    for (std::size_t i = page.sounds; i < sounds.size(); ++i)
      started.push_back({sounds[i].wave_id, sounds[i].volume});
    f["sounds"] = std::move(started);
    page.sounds = sounds.size();
  }
  json s = strip();
  if (s != page.strip) {
    f["strip"] = s;
    page.strip = std::move(s);
  }
  // The pixels first: the frame that names them finds them there.
  for (std::string &p : pixels) page.link->send(std::move(p), true);
  page.link->send(f.dump(), false);
}

json PanelServer::strip() {
  const FlightReadout f = session_->flight();
  return {{"paused", paused_},
          {"rate", rate_},
          {"flight",
           {{"flying", f.flying},
            {"stall", f.stall_warning},
            {"pitch", shown(f.pitch, 0.1)},
            {"bank", shown(f.bank, 1)},
            {"speed", shown(f.speed, 1)},
            {"altitude", shown(f.altitude, 1)},
            {"heading", shown(f.heading, 1)},
            {"vs", shown(f.vertical_speed, 10)},
            {"power", shown(f.power, 0.01)},
            {"elevator", shown(f.hands.elevator, 0.01)},
            {"aileron", shown(f.hands.aileron, 0.01)},
            {"rudder", shown(f.hands.rudder, 0.01)}}}};
}

json PanelServer::layout() {
  Host &host = session_->host();
  json l = {{"type", "layout"}, {"generation", session_->generation()},
            {"scenario", session_->scenario()}};
  json &list = l["scenarios"] = json::array();
  for (const Scenario &s : scenarios()) list.push_back({{"name", s.name}, {"title", s.title}});
  l["bitmaps"] = bitmaps_url_;
  json &windows = l["windows"] = json::array();
  for (const PanelWindowConfig &w : host.panel_windows()) {
    json background = nullptr;
    if (w.background)
      background = "/api/background?window=" + std::to_string(w.ident) +
                   "&panel=" + std::to_string(session_->generation());
    windows.push_back({{"ident", w.ident}, {"title", utf8_text(w.title)},
                       {"width", w.width}, {"height", w.height},
                       {"x", number(w.pos_x.value_or(0))}, {"y", number(w.pos_y.value_or(0))},
                       {"w", number(w.size_x.value_or(1))}, {"h", number(w.size_y.value_or(1))},
                       {"color", w.background_color.value_or(0x202020)},
                       {"background", background}, {"visible", w.visible}});
  }
  json &gauges = l["gauges"] = json::array();
  for (const GaugeBox &g : session_->gauges()) {
    json targets = json::array();
    for (const MouseTarget &t : g.targets)
      targets.push_back({t.box.x, t.box.y, t.box.size_x, t.box.size_y, t.cursor, t.flags});
    gauges.push_back({{"alias", g.alias}, {"window", g.window}, {"x", g.x}, {"y", g.y},
                      {"w", g.width}, {"h", g.height}, {"px", g.pixels_x}, {"py", g.pixels_y},
                      {"sx", g.scale_x}, {"sy", g.scale_y},
                      {"targets", std::move(targets)}});
  }
  return l;
}

void PanelServer::request(HttpRequest req, std::function<void(HttpResponse)> answer) {
  if (req.method == "GET")
    for (const PageFile &f : kPageFiles)
      if (req.path == f.path) return answer(bytes(std::string(host_resource("PAGE", f.id)), f.type));
  work([this, req = std::move(req), answer = std::move(answer)] {
    if (req.method == "GET") return answer(answer_get(req));
    constexpr std::string_view kApi = "/api/";
    if (req.method != "POST") return answer(plain(405, "only GET and POST are answered"));
    if (req.path.rfind(kApi, 0) != 0) return answer(plain(404, "no such request"));
    std::string why;
    auto fields = parse_form(req.body, &why);
    if (!fields) return answer(plain(400, why));
    auto [status, body] = act(req.path.substr(kApi.size()), *fields, std::nullopt);
    if (status != 200) return answer(plain(status, body.value("error", "")));
    answer(json_response(body));
  });
}

HttpResponse PanelServer::answer_get(const HttpRequest &req) {
  std::string why;
  auto query = parse_form(req.query, &why);
  if (!query) return plain(400, why);
  auto field = [&](const char *name) {
    auto it = query->find(name);
    return it == query->end() ? std::string() : it->second;
  };
  if (req.path == "/api/token") {
    auto token = whole_number(field("token"), INT32_MIN, INT32_MAX);
    if (!token) return plain(400, "token must be a whole number");
    return json_response({{"value", number(session_->host().var(static_cast<std::int32_t>(*token)))}});
  }
  if (req.path == "/api/sound") {
    auto id = whole_number(field("id"), 0, INT32_MAX);
    if (!id) return plain(400, "id must be a WAVE resource number");
    auto wave = session_->wave(static_cast<std::int32_t>(*id));
    if (!wave) return plain(404, "no such sound");
    return bytes(std::move(*wave), "audio/wav", "max-age=3600");
  }
  if (req.path == "/api/bitmaps")
    return bytes(session_->bitmaps(), "application/octet-stream", "max-age=31536000, immutable");
  if (req.path == "/api/gauge") {
    bool known = false;
    for (const GaugeBox &g : session_->gauges()) known = known || g.alias == field("gauge");
    if (!known) return plain(404, "no such gauge");
    auto png = session_->gauge_png(field("gauge"));
    if (!png) return plain(404, "the gauge's window is closed");
    return bytes(std::move(*png), "image/png", "no-store");
  }
  if (req.path == "/api/background" || req.path == "/api/picture") {
    auto ident = whole_number(field("window"), 0, UINT32_MAX);
    if (!ident) return plain(400, "window must be a panel ident");
    for (const PanelWindowConfig &w : session_->host().panel_windows()) {
      if (w.ident != *ident) continue;
      if (req.path == "/api/picture") {
        auto png = session_->window_png(w.ident, &why);
        if (!png) return plain(404, why);
        return bytes(std::move(*png), "image/png", "no-store");
      }
      if (!w.background) return plain(404, "the window has no background bitmap");
      return bytes(png_bytes(*w.background), "image/png", "max-age=3600");
    }
    return plain(404, "no such window");
  }
  return plain(404, "no such request");
}

PanelServer::Reply PanelServer::act(const std::string &what, const Fields &f,
                                    std::optional<std::uint64_t> page) {
  std::string why;
  auto refuse = [&](int status) { return Reply{status, {{"error", why}}}; };
  if (what == "mouse") {
    auto r = parse_mouse(f, &why);
    if (!r) return refuse(400);
    asking_ = page;
    MouseResult result = session_->mouse(*r);
    asking_.reset();
    settle_windows();
    switch (result) {
      case MouseResult::kNoGauge: why = "no such gauge"; return refuse(404);
      case MouseResult::kOutside: why = "the point lies outside the gauge"; return refuse(400);
      case MouseResult::kTaken: return {200, {{"taken", true}}};
      case MouseResult::kMissed: break;
    }
    return {200, {{"taken", false}}};
  }
  if (what == "hover") {
    if (f.count("action")) {
      why = "unknown field action";
      return refuse(400);
    }
    Fields move = f;
    move["action"] = "move";
    auto r = parse_mouse(move, &why);
    if (!r) return refuse(400);
    auto h = session_->hover(r->gauge, r->x, r->y);
    if (!h) {
      why = "no such gauge, or a point outside it";
      return refuse(404);
    }
    return {200, {{"cursor", h->cursor}, {"tooltip", utf8_text(h->tooltip)}, {"help", h->help_id}}};
  }
  if (what == "controls") {
    auto r = parse_controls(f, &why);
    if (!r) return refuse(400);
    session_->controls(*r);
    return {200, json::object()};
  }
  if (what == "sim") {
    auto r = parse_sim(f, &why);
    if (!r) return refuse(400);
    if (r->paused) paused_ = *r->paused;
    if (r->rate) rate_ = *r->rate;
    return {200, json::object()};
  }
  if (what == "scenario") {
    auto name = parse_scenario(f, &why);
    if (!name) return refuse(400);
    bool known = false;
    for (const Scenario &s : scenarios()) known = known || *name == s.name;
    if (!known) {
      why = "no such scenario";
      return refuse(404);
    }
    if (!session_->reset(*name, &why)) return refuse(500);
    after_reset();
    return {200, json::object()};
  }
  if (what == "window") {
    auto r = parse_window(f, &why);
    if (!r) return refuse(400);
    bool known = false;
    for (const PanelWindowConfig &w : session_->host().panel_windows()) known = known || w.ident == r->ident;
    if (!known) {
      why = "no such window";
      return refuse(404);
    }
    if (page)
      windows_.set(*page, r->ident, r->shown);
    else
      windows_.set_all(r->ident, r->shown);
    settle_windows();
    return {200, json::object()};
  }
  why = "no such request";
  return refuse(404);
}

void PanelServer::page_opened(std::uint64_t id, std::shared_ptr<PageLink> link, std::string query) {
  work([this, id, link = std::move(link), query = std::move(query)] {
    std::string why;
    auto fields = parse_form(query, &why);
    std::optional<WindowSets::Set> asked;
    if (fields && fields->count("windows")) asked = window_list(fields->at("windows"));
    WindowSets::Set windows = asked ? *asked : panel_windows_;
    WindowSets::Set all;
    for (const PanelWindowConfig &w : session_->host().panel_windows()) all.insert(w.ident);
    std::erase_if(windows, [&](std::uint32_t w) { return !all.count(w); });
    windows_.join(id, windows);
    Page &page = pages_[id];
    page.link = link;
    settle_windows();
    send(id, page);
  });
}

void PanelServer::page_message(std::uint64_t id, std::string text) {
  work([this, id, text = std::move(text)] {
    auto it = pages_.find(id);
    if (it == pages_.end()) return;
    json message = json::parse(text, nullptr, false);
    json reply = {{"type", "reply"}};
    std::string why;
    std::optional<Fields> fields;
    if (!message.is_object() || !message.value("type", json()).is_string())
      why = "a request is a JSON object with a type";
    else
      fields = json_fields(message, &why);
    if (message.is_object() && message.contains("id")) reply["id"] = message["id"];
    if (!fields) {
      reply["status"] = 400;
      reply["error"] = why;
    } else {
      auto [status, body] = act(message["type"].get<std::string>(), *fields, id);
      reply.update(body);
      reply["status"] = status;
    }
    it->second.link->send(reply.dump(), false);
  });
}

void PanelServer::page_closed(std::uint64_t id) {
  work([this, id] {
    windows_.leave(id);
    pages_.erase(id);
    settle_windows();
  });
}

int serve(const ServeOptions &options, std::ostream &out, std::ostream &err) {
  std::string panel(host_resource("PANEL", 1));
  std::optional<std::filesystem::path> panel_file;
  if (!options.panel_file.empty()) {
    panel_file = options.panel_file;
    std::string why;
    std::optional<std::string> text = read_file(options.panel_file, &why);
    if (!text) {
      err << "z480-panel: cannot read " << printable(options.panel_file) << ": " << why << "\n";
      return 2;
    }
    panel = std::move(*text);
  }
  std::string why;
  auto session = PanelSession::open(options.module_path, panel, options.scenario, out, &why,
                                    panel_folders(panel_file));
  if (!session) {
    err << "z480-panel: " << printable(why) << "\n";
    return 1;
  }
  if (!options.script_file.empty()) {
    std::optional<std::string> text = read_file(options.script_file, &why);
    if (!text) {
      err << "z480-panel: cannot read " << printable(options.script_file) << ": " << why << "\n";
      return 2;
    }
    session->run_script(options.script_file, *text);
  }
  PanelServer server(std::move(session));
  int port = server.bind(options.port, &why);
  if (port < 0) {
    err << "z480-panel: cannot listen on 127.0.0.1:" << options.port << ": " << why << "\n";
    return 1;
  }
  out << "z480-panel: the panel is at http://localhost:" << port << "/ (Ctrl-C stops)" << std::endl;
  std::signal(SIGINT, on_interrupt);
  std::signal(SIGTERM, on_interrupt);
  server.run();
  return 0;
}

}  // namespace z480
