// `z480-panel serve`: the live panel in a browser. The server (Boost.Beast on
// one network thread, host/serve/serve_net.h) serves the page
// (host/serve/page/) and talks to each open page over one WebSocket; the
// panel runs on a thread of its own, 18 frames a second, and every request
// that touches it is carried out there between frames.
//
//   GET  /                   the page; /panel.js, /draw.js, /input.js its scripts
//   GET  /api/panel          the page's WebSocket (?windows=0,50: the windows
//                            it opens with). The server sends "layout" (windows,
//                            gauges, their click rectangles; after every reset),
//                            "frame" (18 a second: what changed of the shown
//                            gauges' elements, the page's windows, the sounds
//                            started, the flight strip), "reply" to each
//                            request the page sent with an id, and the pixels
//                            of an element that draws itself as binary
//                            messages; the page sends mouse, hover, window,
//                            controls, sim and scenario requests as JSON with
//                            the fields of the POST requests below.
//   GET  /api/bitmaps        the module's bitmaps, all at once
//   GET  /api/background?window=N  a window's background bitmap (PNG)
//   GET  /api/picture?window=N     the window as the host's renderer draws it
//   GET  /api/gauge?gauge=A  the gauge as the host's renderer draws it
//   GET  /api/sound?id=N     the module's WAVE resource N
//   GET  /api/token?token=N  a host variable's value, {"value": V}
//   POST /api/mouse          gauge, x, y (background pixels), action
//   POST /api/hover          gauge, x, y: the cursor and tooltip there
//   POST /api/controls       pitch, bank (degrees), power (0 to 1)
//   POST /api/sim            paused (0 or 1), rate (0.25 to 8)
//   POST /api/scenario       name: cold, ready or approach
//   POST /api/window         ident, shown (0 or 1): for every page
//
// POST bodies are form-encoded. A request whose Host is not this server or
// whose Origin is not one of its pages gets 403; an unknown gauge, window or
// scenario 404; a pixel outside its gauge, or a body that cannot be read,
// 400; none changes anything.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>

#include "host/serve/serve_cli.h"
#include "host/serve/serve_frame.h"
#include "host/serve/serve_net.h"
#include "host/serve/serve_session.h"
#include "host/serve/serve_windows.h"

namespace z480 {

class PanelServer : public NetHandler {
 public:
  explicit PanelServer(std::unique_ptr<PanelSession> session, NetLimits limits = {});
  ~PanelServer() override;
  PanelServer(const PanelServer &) = delete;
  PanelServer &operator=(const PanelServer &) = delete;

  // Binds 127.0.0.1 at the port (0: any free one); the port, or -1 and why.
  int bind(int port, std::string *why);
  // Answers requests until stop() (from any thread).
  void run();
  void stop();

  // Runs one tick at once and waits for it, for tests: the frames due, the
  // pages sent what changed.
  void tick();

  void request(HttpRequest req, std::function<void(HttpResponse)> answer) override;
  void page_opened(std::uint64_t page, std::shared_ptr<PageLink> link, std::string query) override;
  void page_message(std::uint64_t page, std::string text) override;
  void page_closed(std::uint64_t page) override;

 private:
  struct Page {
    std::shared_ptr<PageLink> link;
    PageCopy copy;
    std::uint64_t generation = 0;  // of the layout it has
    WindowSets::Set windows;       // as it was last told
    bool told_windows = false;
    std::size_t sounds = 0;        // of the session's, sent
    nlohmann::json strip;          // as it was last sent
  };
  using Reply = std::pair<int, nlohmann::json>;

  // Everything below runs on the panel's thread.
  void work(std::function<void()> job);
  void work_loop();
  void frame_tick();
  void after_reset();
  void settle_windows();
  void capture();
  void send(std::uint64_t id, Page &page);
  nlohmann::json layout();
  nlohmann::json strip();
  HttpResponse answer_get(const HttpRequest &req);
  Reply act(const std::string &what, const Fields &f, std::optional<std::uint64_t> page);
  std::vector<bool> shows(std::uint64_t page);

  std::unique_ptr<PanelSession> session_;
  NetServer net_;
  FrameEncoder encoder_;
  WindowSets windows_;
  WindowSets::Set panel_windows_;  // those the panel opens with
  std::string bitmaps_url_;
  std::map<std::uint64_t, Page> pages_;
  std::optional<std::uint64_t> asking_;  // whose mouse the module answers
  std::uint64_t ticks_ = 0;
  bool paused_ = false;
  double rate_ = 1;
  double due_ = 0;  // frames owed to the clock, at the rate

  std::mutex mutex_;  // over the jobs and stopping_
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::thread panel_;
};

}  // namespace z480
