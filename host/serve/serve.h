// `z480-panel serve`: the live panel in a browser. An HTTP server on the
// loopback address serves the page (host/serve/page/), streams frames to it as
// server-sent events and takes its mouse and flight-strip requests:
//
//   GET  /                   the page; /panel.js its script
//   GET  /api/stream         events: "layout" (windows and gauge boxes, after
//                            every reset), "frame" (18 a second: the shown
//                            windows, the PNG of each gauge whose picture
//                            changed, the sounds started, the flight state)
//   GET  /api/gauge?gauge=A  the gauge's current PNG
//   GET  /api/sound?id=N     the module's WAVE resource N
//   GET  /api/token?token=N  a host variable's value, {"value": V}
//   POST /api/mouse          gauge, x, y (background pixels), action
//   POST /api/hover          gauge, x, y: the cursor and tooltip there
//   POST /api/controls       pitch, bank (degrees), power (0 to 1)
//   POST /api/sim            paused (0 or 1), rate (0.25 to 8)
//   POST /api/scenario       name: cold, ready or approach
//   POST /api/window         ident, shown (0 or 1)
//
// Bodies are form-encoded. A request whose Host or Origin is not this
// machine gets 403; an unknown gauge, window or scenario 404; a pixel
// outside its gauge, or a body that cannot be read, 400; none changes
// anything.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "host/serve/serve_cli.h"
#include "host/serve/serve_session.h"

namespace httplib {
class Server;
}

namespace z480 {

class PanelServer {
 public:
  explicit PanelServer(std::unique_ptr<PanelSession> session);
  ~PanelServer();
  PanelServer(const PanelServer &) = delete;
  PanelServer &operator=(const PanelServer &) = delete;

  // Binds 127.0.0.1 at the port (0: any free one); the port, or -1.
  int bind(int port);
  // Runs frames and answers requests until stop() (from any thread).
  void run();
  void stop();

  // Runs one tick at once, for tests: frames due, gauges drawn, pages told.
  void tick();

 private:
  struct Stream;
  void routes();
  std::string layout_json();
  std::string frame_json(Stream &s);
  void loop();

  std::unique_ptr<PanelSession> session_;
  std::unique_ptr<httplib::Server> http_;
  std::mutex mutex_;  // over the session and the fields below
  std::condition_variable ticked_;
  std::uint64_t ticks_ = 0;
  bool paused_ = false;
  double rate_ = 1;
  double due_ = 0;  // frames owed to the clock, at the rate
  std::atomic<bool> stopping_{false};
};

}  // namespace z480
