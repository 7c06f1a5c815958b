// The served panel over the network: requests not to this server, or not
// from its pages, or not well formed are refused and change nothing; pages
// each get the layout, their frames and their own windows; and no number of
// open pages and slow clients keeps a plain request waiting.
#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <chrono>
#include <sstream>
#include <thread>

#include "frame/host_names.h"
#include "host/script/host_resources.h"
#include "host/serve/serve.h"

namespace z480 {
namespace {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = net::ip::tcp;
using nlohmann::json;

struct Answer {
  int status = -1;
  std::string body;
  std::string type;
};

class ServeHttp : public ::testing::Test {
 protected:
  void start(NetLimits limits = {}) {
    std::string why;
    auto s = PanelSession::open(Z480_MODULE_PATH, std::string(host_resource("PANEL", 1)), "cold", out,
                                &why, {Z480_PANEL_FOLDER});
    ASSERT_TRUE(s) << why;
    session = s.get();
    server = std::make_unique<PanelServer>(std::move(s), limits);
    port = server->bind(0, &why);
    ASSERT_GT(port, 0) << why;
    thread = std::thread([this] { server->run(); });
  }
  void SetUp() override { start(); }
  void TearDown() override {
    server->stop();
    if (thread.joinable()) thread.join();
  }
  std::string here() { return "localhost:" + std::to_string(port); }

  Answer request(http::verb verb, const std::string &target, const std::string &body = "",
                 std::vector<std::pair<std::string, std::string>> headers = {}) {
    net::io_context ioc;
    tcp::socket socket(ioc);
    socket.connect({net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
    http::request<http::string_body> req(verb, target, 11);
    req.set(http::field::host, here());
    for (auto &[k, v] : headers) req.set(k, v);
    if (verb == http::verb::post) req.set(http::field::content_type, "application/x-www-form-urlencoded");
    req.body() = body;
    req.prepare_payload();
    http::write(socket, req);
    beast::flat_buffer buffer;
    http::response<http::string_body> res;
    beast::error_code ec;
    http::read(socket, buffer, res, ec);
    if (ec) return {};
    return {static_cast<int>(res.result_int()), res.body(), std::string(res[http::field::content_type])};
  }
  Answer get(const std::string &target, std::vector<std::pair<std::string, std::string>> h = {}) {
    return request(http::verb::get, target, "", std::move(h));
  }
  int post(const std::string &target, const std::string &body,
           std::vector<std::pair<std::string, std::string>> h = {}) {
    return request(http::verb::post, target, body, std::move(h)).status;
  }
  double token(int t) { return json::parse(get("/api/token?token=" + std::to_string(t)).body)["value"]; }

  std::ostringstream out;
  PanelSession *session = nullptr;
  std::unique_ptr<PanelServer> server;
  std::thread thread;
  int port = 0;
};

// A page's WebSocket, as a browser opens it.
class Page {
 public:
  Page(int port, const std::string &query = "") : ws_(ioc_) {
    tcp::socket &s = beast::get_lowest_layer(ws_);
    s.connect({net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
    std::string host = "localhost:" + std::to_string(port);
    ws_.set_option(websocket::stream_base::decorator([host](websocket::request_type &r) {
      r.set(http::field::origin, "http://" + host);
    }));
    websocket::response_type res;
    ws_.handshake(res, host, "/api/panel" + query, ec_);
  }
  bool open() const { return !ec_; }
  // The next text message of that type (binary ones skipped).
  json next(const std::string &type) {
    for (;;) {
      beast::flat_buffer b;
      ws_.read(b);
      if (!ws_.got_text()) continue;
      json m = json::parse(beast::buffers_to_string(b.data()));
      if (m["type"] == type) return m;
    }
  }
  json ask(json request) {
    request["id"] = ++id_;
    ws_.text(true);
    ws_.write(net::buffer(request.dump()));
    for (;;) {
      json m = next("reply");
      if (m["id"] == id_) return m;
    }
  }

 private:
  net::io_context ioc_;
  websocket::stream<tcp::socket> ws_;
  beast::error_code ec_;
  int id_ = 0;
};

TEST_F(ServeHttp, RefusesWhatIsNotOursOrNotWellFormed) {
  const std::string battery = "gauge=Master_Battery_Switch&x=20&y=30&action=left";
  EXPECT_EQ(post("/api/mouse", battery, {{"Host", "example.com"}}), 403);
  // Another program's page on this machine is no page of ours.
  EXPECT_EQ(post("/api/mouse", battery, {{"Host", "localhost:1"}}), 403);
  EXPECT_EQ(post("/api/mouse", battery, {{"Origin", "http://localhost:1"}}), 403);
  EXPECT_EQ(post("/api/mouse", battery, {{"Origin", "http://example.com"}}), 403);
  EXPECT_EQ(post("/api/mouse", battery, {{"Origin", "null"}}), 403);
  EXPECT_EQ(post("/api/mouse", "gauge=Nope&x=20&y=30&action=left"), 404);
  EXPECT_EQ(post("/api/mouse", "gauge=Master_Battery_Switch&x=20&y=3000&action=left"), 400);
  EXPECT_EQ(post("/api/mouse", "{\"gauge\":\"Master_Battery_Switch\"}"), 400);
  EXPECT_EQ(post("/api/mouse", battery + "&x=21"), 400);  // a field twice
  EXPECT_EQ(post("/api/mouse", battery + "&junk=%zz"), 400);
  // A body past the cap is refused before it is read whole.
  EXPECT_EQ(post("/api/mouse", battery + "&pad=" + std::string(70 * 1024, 'x')), 413);
  EXPECT_EQ(post("/api/controls", "power=2"), 400);
  EXPECT_EQ(post("/api/sim", "rate=fast"), 400);
  EXPECT_EQ(post("/api/scenario", "name=spiral"), 404);
  EXPECT_EQ(post("/api/window", "ident=4242&shown=1"), 404);
  EXPECT_EQ(post("/api/hover", "gauge=Airspeed&x=1&y=1&action=left"), 400);
  EXPECT_EQ(post("/api/nothing", ""), 404);
  EXPECT_EQ(request(http::verb::delete_, "/api/mouse").status, 405);
  EXPECT_EQ(get("/api/gauge?gauge=Nope").status, 404);
  EXPECT_EQ(get("/api/sound?id=x").status, 400);
  for (auto [query, status] : {std::pair{"window=main", 400}, {"window=4242", 404}}) {
    EXPECT_EQ(get(std::string("/api/background?") + query).status, status) << query;
    EXPECT_EQ(get(std::string("/api/picture?") + query).status, status) << query;
  }
  // None of that moved anything.
  server->tick();
  EXPECT_EQ(token(kVarBatteryMaster), 0);

  // The same click from a page of this server goes through.
  EXPECT_EQ(post("/api/window", "ident=250&shown=1"), 200);
  EXPECT_EQ(post("/api/mouse", battery, {{"Origin", "http://" + here()}}), 200);
  server->tick();
  server->tick();
  EXPECT_EQ(token(kVarBatteryMaster), 1);
}

TEST_F(ServeHttp, ATakenPortIsAClearError) {
  std::string why;
  auto s = PanelSession::open(Z480_MODULE_PATH, std::string(host_resource("PANEL", 1)), "cold", out,
                              &why, {Z480_PANEL_FOLDER});
  ASSERT_TRUE(s) << why;
  PanelServer second(std::move(s));
  EXPECT_EQ(second.bind(port, &why), -1);
  EXPECT_NE(why.find("in use"), std::string::npos) << why;
}

TEST_F(ServeHttp, ServesThePageItsFilesAndPictures) {
  Answer page = get("/");
  EXPECT_EQ(page.status, 200);
  for (const char *script : {"/panel.js", "/draw.js", "/input.js"}) {
    EXPECT_NE(page.body.find(script), std::string::npos) << script;
    Answer js = get(script);
    EXPECT_EQ(js.status, 200) << script;
    EXPECT_EQ(js.type.rfind("text/javascript", 0), 0u) << script;
  }
  Answer click = get("/api/sound?id=10");
  EXPECT_EQ(click.status, 200);
  EXPECT_EQ(click.body.substr(0, 4), "RIFF");
  // All bitmaps at once: a count, then id, length and PNG each, to the end.
  Answer bitmaps = get("/api/bitmaps");
  ASSERT_EQ(bitmaps.status, 200);
  auto word = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bitmaps.body[at + i])) << (8 * i);
    return v;
  };
  std::uint32_t count = word(0);
  EXPECT_GT(count, 300u);
  std::size_t at = 4;
  for (std::uint32_t i = 0; i < count && at + 8 <= bitmaps.body.size(); ++i) {
    EXPECT_EQ(bitmaps.body.substr(at + 9, 3), "PNG");
    at += 8 + word(at + 4);
  }
  EXPECT_EQ(at, bitmaps.body.size());
  Answer main = get("/api/picture?window=0");
  EXPECT_EQ(main.status, 200);
  EXPECT_EQ(main.body.substr(1, 3), "PNG");
  EXPECT_EQ(get("/api/picture?window=250").status, 404);  // closed: nothing drawn
  EXPECT_EQ(get("/api/gauge?gauge=Airspeed").body.substr(1, 3), "PNG");
}

TEST_F(ServeHttp, EachPageHasItsLayoutFramesAndWindows) {
  Page a(port), b(port, "?windows=0,50");
  ASSERT_TRUE(a.open());
  ASSERT_TRUE(b.open());
  json layout = a.next("layout");
  EXPECT_EQ(layout["scenario"], "cold");
  EXPECT_GT(layout["gauges"].size(), 60u);
  json frame = a.next("frame");
  EXPECT_EQ(frame["windows"], json::array({0}));
  EXPECT_GT(frame["gauges"].size(), 30u);
  EXPECT_EQ(b.next("frame")["windows"], json::array({0, 50}));

  // Page a opens the overhead from its hot spot: page a has it, b does not,
  // and the host shows both pages' windows.
  json reply = a.ask({{"type", "mouse"}, {"gauge", "Overhead_Toggle"}, {"x", 8}, {"y", 8}, {"action", "left"}});
  EXPECT_EQ(reply["status"], 200) << reply;
  for (json f = a.next("frame"); !f.contains("windows"); f = a.next("frame")) {}
  server->tick();
  EXPECT_TRUE(session->host().window_shown(250));
  EXPECT_TRUE(session->host().window_shown(50));
  // Refusals come back as replies and change nothing.
  EXPECT_EQ(a.ask({{"type", "window"}, {"ident", 4242}, {"shown", 1}})["status"], 404);
  EXPECT_EQ(a.ask({{"type", "mouse"}, {"gauge", "Airspeed"}, {"x", true}})["status"], 400);
  EXPECT_EQ(a.ask({{"type", "nonsense"}})["status"], 404);
  json hover = a.ask({{"type", "hover"}, {"gauge", "Airspeed"}, {"x", 100}, {"y", 100}});
  EXPECT_EQ(hover["tooltip"], "Airspeed indicator") << hover;
  EXPECT_EQ(b.ask({{"type", "window"}, {"ident", 50}, {"shown", 0}})["status"], 200);
  server->tick();
  EXPECT_FALSE(session->host().window_shown(50));
  EXPECT_TRUE(session->host().window_shown(250));
}

// 20 pages (the server takes 16: the rest get 503 at once) and 5 clients
// that trickle half a header in: the page is still served within 50 ms, a
// request to the panel answered, and a trickling client cut off at its
// deadline.
TEST_F(ServeHttp, NoCrowdKeepsARequestWaiting) {
  TearDown();
  NetLimits limits;
  limits.request_deadline = std::chrono::milliseconds(500);
  start(limits);
  std::vector<std::unique_ptr<Page>> pages;
  int refused = 0;
  for (int i = 0; i < 20; ++i) {
    pages.push_back(std::make_unique<Page>(port));
    refused += pages.back()->open() ? 0 : 1;
  }
  EXPECT_EQ(refused, 4);
  Answer more = get("/api/panel", {{"Upgrade", "websocket"}, {"Connection", "Upgrade"},
                                   {"Sec-WebSocket-Version", "13"},
                                   {"Sec-WebSocket-Key", "dGhlIHNhbXBsZSBub25jZQ=="}});
  EXPECT_EQ(more.status, 503);
  net::io_context ioc;
  std::vector<tcp::socket> slow;
  for (int i = 0; i < 5; ++i) {
    slow.emplace_back(ioc);
    slow.back().connect({net::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
    net::write(slow.back(), net::buffer(std::string("GET /api/token?token=364 HTTP/1.1\r\nHost: ")));
  }
  EXPECT_EQ(get("/api/token?token=364").status, 200);
  for (int i = 0; i < 3; ++i) {
    auto begun = std::chrono::steady_clock::now();
    Answer a = get("/");
    auto took = std::chrono::steady_clock::now() - begun;
    EXPECT_EQ(a.status, 200);
    EXPECT_LT(took, std::chrono::milliseconds(50)) << "answered in "
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
  }
  // Past the deadline the slow clients find their connections closed.
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  for (tcp::socket &s : slow) {
    char c;
    beast::error_code ec;
    s.read_some(net::buffer(&c, 1), ec);
    EXPECT_TRUE(ec == net::error::eof || ec == net::error::connection_reset) << ec.message();
  }
}

}  // namespace
}  // namespace z480
