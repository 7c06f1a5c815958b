// The browser panel's network side: HTTP and WebSocket on Boost.Beast, one
// thread, every connection asynchronous, so no number of open pages or slow
// clients keeps another request waiting. It listens on 127.0.0.1 only, sets
// TCP_NODELAY on every connection, gives a request a deadline to arrive
// (its header first), refuses bodies past a cap and pages past a number
// (503), and lets through only requests to this server's own address and
// from its own pages (403 otherwise). What a request means is the handler's
// business.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace z480 {

struct HttpRequest {
  std::string method;  // GET, POST, ...
  std::string path;    // without the query
  std::string query;   // after the '?'
  std::string body;
};

struct HttpResponse {
  int status = 200;
  std::string content_type = "text/plain";
  std::string body;
  std::string cache_control;  // none when empty
};

// A page's open WebSocket: messages go out in the order given, from any
// thread.
class PageLink {
 public:
  virtual ~PageLink() = default;
  virtual void send(std::string message, bool binary) = 0;
  // Messages given to send and not yet written: a page that reads slowly is
  // sent less rather than more.
  virtual int waiting() const = 0;
};

class NetHandler {
 public:
  virtual ~NetHandler() = default;
  // A request that passed the checks; answer is called once, from any thread.
  virtual void request(HttpRequest req, std::function<void(HttpResponse)> answer) = 0;
  // A page's WebSocket (at /api/panel, with the query it gave) opened, sent
  // a text message, closed. Ids are never reused.
  virtual void page_opened(std::uint64_t page, std::shared_ptr<PageLink> link,
                           std::string query) = 0;
  virtual void page_message(std::uint64_t page, std::string text) = 0;
  virtual void page_closed(std::uint64_t page) = 0;
};

struct NetLimits {
  std::chrono::milliseconds request_deadline{5000};  // from the first byte of a request to its end
  std::size_t body_limit = 64 * 1024;
  std::size_t header_limit = 16 * 1024;
  int pages = 16;
};

class NetServer {
 public:
  explicit NetServer(NetHandler &handler, NetLimits limits = {});
  ~NetServer();
  NetServer(const NetServer &) = delete;
  NetServer &operator=(const NetServer &) = delete;

  // Listens on 127.0.0.1 at the port (0: any free one): the port, or -1 and
  // why. A port another program holds is refused, never shared.
  int bind(int port, std::string *why);
  // Serves until stop() (from any thread).
  void run();
  void stop();
  // Runs f on the network thread.
  void post(std::function<void()> f);

  // What the connections share (serve_net.cpp).
  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace z480
