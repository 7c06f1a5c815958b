#include "host/serve/serve.h"

#include <httplib.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "host/script/host_resources.h"
#include "host/panel/panel_background.h"

namespace z480 {
namespace {

constexpr auto kTick = std::chrono::microseconds(1000000 / Host::kFramesPerSecond);
// A stream with nothing to say sends a comment this often, so that a page
// that went away is noticed.
constexpr auto kKeepAlive = std::chrono::seconds(2);

std::string base64(std::string_view bytes) {
  static const char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

std::string number(double v) {
  if (!std::isfinite(v)) return "0";
  std::ostringstream s;
  s.precision(10);
  s << v;
  return s.str();
}

void refuse(httplib::Response &res, int status, const std::string &why) {
  res.status = status;
  res.set_content(why + "\n", "text/plain");
}

std::optional<std::string> header(const httplib::Request &req, const char *name) {
  if (!req.has_header(name)) return std::nullopt;
  return req.get_header_value(name);
}

Fields fields(const httplib::Request &req) {
  Fields f;
  for (const auto &[key, value] : req.params) f[key] = value;
  return f;
}

// Fields that appear twice are refused: which one counts would be a guess.
bool repeated_field(const httplib::Request &req) {
  for (auto it = req.params.begin(); it != req.params.end(); ++it)
    if (req.params.count(it->first) > 1) return true;
  return false;
}

// Set by SIGINT and SIGTERM; the frame loop then stops the server.
std::atomic<bool> g_interrupted{false};

extern "C" void on_interrupt(int) { g_interrupted = true; }

}  // namespace

struct PanelServer::Stream {
  std::uint64_t generation = 0;
  std::uint64_t tick = 0;
  std::size_t sounds = 0;
  std::map<std::string, std::uint64_t> versions;
  std::string windows;  // the shown windows last sent
};

PanelServer::PanelServer(std::unique_ptr<PanelSession> session)
    : session_(std::move(session)), http_(std::make_unique<httplib::Server>()) {
  routes();
}

PanelServer::~PanelServer() { stop(); }

int PanelServer::bind(int port) {
  if (port == 0) return http_->bind_to_any_port("127.0.0.1");
  return http_->bind_to_port("127.0.0.1", port) ? port : -1;
}

void PanelServer::stop() {
  stopping_ = true;
  ticked_.notify_all();
  http_->stop();
}

void PanelServer::run() {
  std::thread frames([this] { loop(); });
  http_->listen_after_bind();
  stopping_ = true;
  ticked_.notify_all();
  frames.join();
}

void PanelServer::loop() {
  auto next = std::chrono::steady_clock::now();
  while (!stopping_) {
    next += kTick;
    std::this_thread::sleep_until(next);
    // A machine that fell behind skips the ticks it missed rather than
    // running them all at once.
    auto now = std::chrono::steady_clock::now();
    if (now - next > 4 * kTick) next = now;
    tick();
    if (g_interrupted) stop();
  }
}

void PanelServer::tick() {
  {
    std::lock_guard lock(mutex_);
    if (!paused_) {
      due_ += rate_;
      for (; due_ >= 1; due_ -= 1) session_->frame();
    }
    session_->draw_changed();
    ++ticks_;
  }
  ticked_.notify_all();
}

std::string PanelServer::layout_json() {
  Host &host = session_->host();
  std::string j = "{\"scenario\":" + json_string(session_->scenario()) + ",\"scenarios\":[";
  for (const Scenario &s : scenarios())
    j += std::string(j.back() == '[' ? "" : ",") + "{\"name\":" + json_string(s.name) +
         ",\"title\":" + json_string(s.title) + "}";
  j += "],\"windows\":[";
  for (const PanelWindowConfig &w : host.panel_windows()) {
    j += std::string(j.back() == '[' ? "" : ",") + "{\"ident\":" + std::to_string(w.ident) +
         ",\"title\":" + json_string(w.title) + ",\"width\":" + std::to_string(w.width) +
         ",\"height\":" + std::to_string(w.height) + ",\"x\":" + number(w.pos_x.value_or(0)) +
         ",\"y\":" + number(w.pos_y.value_or(0)) + ",\"w\":" + number(w.size_x.value_or(1)) +
         ",\"h\":" + number(w.size_y.value_or(1)) + ",\"color\":" +
         std::to_string(w.background_color.value_or(0x202020)) + ",\"background\":" +
         (w.background ? "\"/api/background?window=" + std::to_string(w.ident) + "&panel=" +
                             std::to_string(session_->generation()) + "\""
                       : std::string("null")) +
         "}";
  }
  j += "],\"gauges\":[";
  for (const GaugeImage &g : session_->gauges()) {
    j += std::string(j.back() == '[' ? "" : ",") + "{\"alias\":" + json_string(g.alias) +
         ",\"window\":" + std::to_string(g.window) + ",\"x\":" + std::to_string(g.x) +
         ",\"y\":" + std::to_string(g.y) + ",\"w\":" + std::to_string(g.width) +
         ",\"h\":" + std::to_string(g.height) + ",\"px\":" + std::to_string(g.pixels_x) +
         ",\"py\":" + std::to_string(g.pixels_y) + "}";
  }
  return j + "]}";
}

std::string PanelServer::frame_json(Stream &s) {
  Host &host = session_->host();
  std::string windows = "[";
  for (const PanelWindowConfig &w : host.panel_windows())
    if (host.window_shown(w.ident))
      windows += std::string(windows.size() > 1 ? "," : "") + std::to_string(w.ident);
  windows += "]";
  const FlightReadout f = session_->flight();
  std::string j = "{\"time\":" + number(host.seconds()) + ",\"paused\":" +
                  (paused_ ? "true" : "false") + ",\"rate\":" + number(rate_) +
                  ",\"flight\":{\"flying\":" + (f.flying ? "true" : "false") +
                  ",\"stall\":" + (f.stall_warning ? "true" : "false") +
                  ",\"pitch\":" + number(f.pitch) + ",\"bank\":" + number(f.bank) +
                  ",\"speed\":" + number(f.speed) + ",\"altitude\":" + number(f.altitude) +
                  ",\"heading\":" + number(f.heading) + ",\"vs\":" + number(f.vertical_speed) +
                  ",\"power\":" + number(f.power) + ",\"elevator\":" + number(f.hands.elevator) +
                  ",\"aileron\":" + number(f.hands.aileron) + ",\"rudder\":" +
                  number(f.hands.rudder) + "}";
  if (windows != s.windows) j += ",\"windows\":" + windows;
  s.windows = windows;
  j += ",\"gauges\":{";
  bool first = true;
  for (const GaugeImage &g : session_->gauges()) {
    std::uint64_t &sent = s.versions[g.alias];
    if (sent == g.version) continue;
    sent = g.version;
    j += std::string(first ? "" : ",") + json_string(g.alias) + ":\"" + base64(g.png) + "\"";
    first = false;
  }
  j += "},\"sounds\":[";
  const auto &sounds = session_->sounds();
  for (std::size_t i = s.sounds; i < sounds.size(); ++i)
    j += std::string(i == s.sounds ? "" : ",") + std::to_string(sounds[i]);
  s.sounds = sounds.size();
  return j + "]}";
}

void PanelServer::routes() {
  httplib::Server &http = *http_;
  // This machine only, both ways: no other site's page may drive the panel,
  // nor a name that was made to resolve here.
  http.set_pre_routing_handler([](const httplib::Request &req, httplib::Response &res) {
    if (!local_host_header(req.get_header_value("Host"))) {
      refuse(res, 403, "this server answers requests to localhost only");
      return httplib::Server::HandlerResponse::Handled;
    }
    auto origin = header(req, "Origin");
    if (!local_origin(origin ? std::optional<std::string_view>(*origin) : std::nullopt)) {
      refuse(res, 403, "this server answers pages served from localhost only");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  http.Get("/", [](const httplib::Request &, httplib::Response &res) {
    res.set_content(std::string(host_resource("PAGE", 1)), "text/html; charset=utf-8");
  });
  http.Get("/panel.js", [](const httplib::Request &, httplib::Response &res) {
    res.set_content(std::string(host_resource("PAGE", 2)), "text/javascript; charset=utf-8");
  });
  http.Get("/api/gauge", [this](const httplib::Request &req, httplib::Response &res) {
    std::lock_guard lock(mutex_);
    for (const GaugeImage &g : session_->gauges()) {
      if (g.alias != req.get_param_value("gauge")) continue;
      if (g.png.empty()) return refuse(res, 404, "the gauge's window is closed");
      return res.set_content(g.png, "image/png");
    }
    refuse(res, 404, "no such gauge");
  });
  http.Get("/api/background", [this](const httplib::Request &req, httplib::Response &res) {
    auto ident = whole_number(req.get_param_value("window"), 0, UINT32_MAX);
    if (!ident) return refuse(res, 400, "window must be a panel ident");
    std::lock_guard lock(mutex_);
    for (const PanelWindowConfig &w : session_->host().panel_windows()) {
      if (w.ident != *ident) continue;
      if (!w.background) return refuse(res, 404, "the window has no background bitmap");
      res.set_header("Cache-Control", "max-age=3600");
      return res.set_content(png_bytes(*w.background), "image/png");
    }
    refuse(res, 404, "no such window");
  });
  http.Get("/api/token", [this](const httplib::Request &req, httplib::Response &res) {
    auto token = whole_number(req.get_param_value("token"), INT32_MIN, INT32_MAX);
    if (!token) return refuse(res, 400, "token must be a whole number");
    std::lock_guard lock(mutex_);
    res.set_content("{\"value\":" + number(session_->host().var(static_cast<std::int32_t>(*token))) + "}",
                    "application/json");
  });
  http.Get("/api/sound", [this](const httplib::Request &req, httplib::Response &res) {
    auto id = whole_number(req.get_param_value("id"), 0, INT32_MAX);
    if (!id) return refuse(res, 400, "id must be a WAVE resource number");
    std::lock_guard lock(mutex_);
    auto bytes = session_->wave(static_cast<std::int32_t>(*id));
    if (!bytes) return refuse(res, 404, "no such sound");
    res.set_header("Cache-Control", "max-age=3600");
    res.set_content(*bytes, "audio/wav");
  });
  http.Get("/api/stream", [this](const httplib::Request &, httplib::Response &res) {
    auto stream = std::make_shared<Stream>();
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider(
        "text/event-stream", [this, stream](std::size_t, httplib::DataSink &sink) {
          std::string message;
          {
            std::unique_lock lock(mutex_);
            ticked_.wait_for(lock, kKeepAlive,
                             [&] { return stopping_ || ticks_ != stream->tick; });
            if (stopping_) return false;
            if (ticks_ == stream->tick) {
              message = ": idle\n\n";
            } else {
              stream->tick = ticks_;
              if (stream->generation != session_->generation()) {
                // A new panel: everything is sent afresh, but no sound of the old one.
                *stream = Stream{};
                stream->generation = session_->generation();
                stream->tick = ticks_;
                stream->sounds = session_->sounds().size();
                message = "event: layout\ndata: " + layout_json() + "\n\n";
              }
              message += "event: frame\ndata: " + frame_json(*stream) + "\n\n";
            }
          }
          return sink.write(message.data(), message.size());
        });
  });

  // The requests that change the panel: each read whole before anything moves.
  auto post = [this, &http](const char *path, auto act) {
    http.Post(path, [this, act](const httplib::Request &req, httplib::Response &res) {
      if (repeated_field(req)) return refuse(res, 400, "a field is given twice");
      std::lock_guard lock(mutex_);
      std::string why;
      auto [status, body] = act(fields(req), &why);
      if (status != 200) return refuse(res, status, why);
      res.set_content(body, "application/json");
    });
  };
  using Reply = std::pair<int, std::string>;
  post("/api/mouse", [this](const Fields &f, std::string *why) -> Reply {
    auto r = parse_mouse(f, why);
    if (!r) return {400, ""};
    switch (session_->mouse(*r)) {
      case MouseResult::kNoGauge: *why = "no such gauge"; return {404, ""};
      case MouseResult::kOutside: *why = "the point lies outside the gauge"; return {400, ""};
      case MouseResult::kTaken: return {200, "{\"taken\":true}"};
      case MouseResult::kMissed: break;
    }
    return {200, "{\"taken\":false}"};
  });
  post("/api/hover", [this](const Fields &f, std::string *why) -> Reply {
    Fields move = f;
    move["action"] = "move";
    if (f.count("action")) {
      *why = "unknown field action";
      return {400, ""};
    }
    auto r = parse_mouse(move, why);
    if (!r) return {400, ""};
    auto h = session_->hover(r->gauge, r->x, r->y);
    if (!h) {
      *why = "no such gauge, or a point outside it";
      return {404, ""};
    }
    return {200, "{\"cursor\":" + std::to_string(h->cursor) + ",\"tooltip\":" + json_string(h->tooltip) + "}"};
  });
  post("/api/controls", [this](const Fields &f, std::string *why) -> Reply {
    auto r = parse_controls(f, why);
    if (!r) return {400, ""};
    session_->controls(*r);
    return {200, "{}"};
  });
  post("/api/sim", [this](const Fields &f, std::string *why) -> Reply {
    auto r = parse_sim(f, why);
    if (!r) return {400, ""};
    if (r->paused) paused_ = *r->paused;
    if (r->rate) rate_ = *r->rate;
    return {200, "{}"};
  });
  post("/api/scenario", [this](const Fields &f, std::string *why) -> Reply {
    auto name = parse_scenario(f, why);
    if (!name) return {400, ""};
    bool known = false;
    for (const Scenario &s : scenarios()) known = known || *name == s.name;
    if (!known) {
      *why = "no such scenario";
      return {404, ""};
    }
    if (!session_->reset(*name, why)) return {500, ""};
    return {200, "{}"};
  });
  post("/api/window", [this](const Fields &f, std::string *why) -> Reply {
    auto r = parse_window(f, why);
    if (!r) return {400, ""};
    if (!session_->set_window(*r)) {
      *why = "no such window";
      return {404, ""};
    }
    return {200, "{}"};
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
    std::string why;
    std::optional<std::string> text = read_file(options.script_file, &why);
    if (!text) {
      err << "z480-panel: cannot read " << printable(options.script_file) << ": " << why << "\n";
      return 2;
    }
    session->run_script(options.script_file, *text);
  }
  PanelServer server(std::move(session));
  int port = server.bind(options.port);
  if (port < 0) {
    err << "z480-panel: cannot listen on 127.0.0.1:" << options.port << "\n";
    return 1;
  }
  out << "z480-panel: the panel is at http://localhost:" << port << "/ (Ctrl-C stops)"
      << std::endl;
  std::signal(SIGINT, on_interrupt);
  std::signal(SIGTERM, on_interrupt);
  server.run();
  return 0;
}

}  // namespace z480
