#include "host/serve/serve_net.h"

#include <atomic>
#include <utility>  // before Asio, whose coroutine support needs std::exchange
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <deque>
#include <optional>

#include "host/serve/serve_request.h"

namespace z480 {
namespace {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = net::ip::tcp;

// How long an answer may take to leave, and how long a page may stay silent
// (its browser answers the pings) before it counts as gone.
constexpr auto kWriteDeadline = std::chrono::seconds(30);
constexpr auto kPageSilence = std::chrono::seconds(15);
constexpr const char *kPagePath = "/api/panel";

}  // namespace

struct NetServer::Impl {
  Impl(NetHandler &h, NetLimits l) : handler(h), limits(l) {}
  void accept();

  NetHandler &handler;
  NetLimits limits;
  net::io_context ioc{1};
  tcp::acceptor acceptor{ioc};
  net::steady_timer retry{ioc};
  int port = 0;
  int pages = 0;  // open or opening (network thread only)
  std::uint64_t next_page = 1;
};

namespace {

HttpResponse refusal(int status, std::string why) {
  return {status, "text/plain; charset=utf-8", std::move(why) + "\n", ""};
}

class PageConnection : public PageLink, public std::enable_shared_from_this<PageConnection> {
 public:
  PageConnection(beast::tcp_stream stream, http::request<http::string_body> req,
                 NetServer::Impl &server, std::string query)
      : ws_(std::move(stream)), req_(std::move(req)), server_(server),
        id_(server.next_page++), query_(std::move(query)) {}

  void start() {
    beast::get_lowest_layer(ws_).expires_never();
    auto timeout = websocket::stream_base::timeout::suggested(beast::role_type::server);
    timeout.idle_timeout = kPageSilence;
    timeout.keep_alive_pings = true;
    ws_.set_option(timeout);
    ws_.read_message_max(server_.limits.body_limit);
    ws_.async_accept(req_, [self = shared_from_this()](beast::error_code ec) {
      if (ec) return self->closed();
      self->open_ = true;
      self->server_.handler.page_opened(self->id_, self, self->query_);
      self->read();
    });
  }

  void send(std::string message, bool binary) override {
    ++waiting_;
    net::post(ws_.get_executor(), [self = shared_from_this(), m = std::move(message), binary]() mutable {
      if (self->closed_) {
        --self->waiting_;
        return;
      }
      self->out_.emplace_back(std::move(m), binary);
      if (self->out_.size() == 1) self->write();
    });
  }
  int waiting() const override { return waiting_; }

 private:
  void write() {
    ws_.binary(out_.front().second);
    ws_.async_write(net::buffer(out_.front().first),
                    [self = shared_from_this()](beast::error_code ec, std::size_t) {
                      self->out_.pop_front();
                      --self->waiting_;
                      if (ec) return self->closed();
                      if (!self->out_.empty()) self->write();
                    });
  }

  void read() {
    ws_.async_read(in_, [self = shared_from_this()](beast::error_code ec, std::size_t) {
      if (ec) return self->closed();
      if (self->ws_.got_text())
        self->server_.handler.page_message(self->id_, beast::buffers_to_string(self->in_.data()));
      self->in_.consume(self->in_.size());
      self->read();
    });
  }

  void closed() {
    if (closed_) return;
    closed_ = true;
    --server_.pages;
    if (open_) server_.handler.page_closed(id_);
  }

  websocket::stream<beast::tcp_stream> ws_;
  http::request<http::string_body> req_;
  NetServer::Impl &server_;
  std::uint64_t id_;
  std::string query_;
  beast::flat_buffer in_;
  std::deque<std::pair<std::string, bool>> out_;
  std::atomic<int> waiting_{0};
  bool open_ = false, closed_ = false;
};

class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
 public:
  HttpConnection(tcp::socket socket, NetServer::Impl &server)
      : stream_(std::move(socket)), server_(server) {}

  // Each request must come whole within the deadline of the connection's
  // opening or of the previous answer: a client that trickles its header in
  // holds nothing but its own socket, and not for long.
  void read() {
    parser_.emplace();
    parser_->body_limit(server_.limits.body_limit);
    parser_->header_limit(static_cast<std::uint32_t>(server_.limits.header_limit));
    stream_.expires_after(server_.limits.request_deadline);
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code ec, std::size_t) { self->on_read(ec); });
  }

 private:
  void on_read(beast::error_code ec) {
    stream_.expires_never();
    if (ec == http::error::body_limit) return respond(refusal(413, "the body is larger than the server takes"), false);
    if (ec == http::error::header_limit) return respond(refusal(431, "the header is too large"), false);
    if (ec && ec.category() == http::make_error_code(http::error::bad_target).category() &&
        ec != http::error::end_of_stream && ec != http::error::partial_message)
      return respond(refusal(400, "the request could not be read"), false);
    if (ec) return close();
    http::request<http::string_body> req = parser_->release();
    bool keep = req.keep_alive();
    version_ = req.version();
    if (!local_host_header(std::string(req[http::field::host]), server_.port))
      return respond(refusal(403, "this server answers requests to its own address only"), false);
    auto origin = req.find(http::field::origin);
    if (origin != req.end() && !local_origin(std::string(origin->value()), server_.port))
      return respond(refusal(403, "this server answers its own pages only"), false);
    std::string target(req.target());
    std::size_t q = target.find('?');
    HttpRequest r{std::string(req.method_string()), target.substr(0, q),
                  q == std::string::npos ? "" : target.substr(q + 1), std::move(req.body())};
    if (websocket::is_upgrade(req)) return upgrade(std::move(req), std::move(r));
    server_.handler.request(std::move(r), [self = shared_from_this(), keep](HttpResponse res) {
      net::post(self->stream_.get_executor(), [self, keep, res = std::move(res)]() mutable {
        self->respond(std::move(res), keep);
      });
    });
  }

  void upgrade(http::request<http::string_body> req, HttpRequest r) {
    if (r.path != kPagePath) return respond(refusal(404, "no such page stream"), false);
    if (server_.pages >= server_.limits.pages)
      return respond(refusal(503, "the panel has as many pages open as it serves"), false);
    ++server_.pages;
    std::make_shared<PageConnection>(std::move(stream_), std::move(req), server_, std::move(r.query))
        ->start();
  }

  void respond(HttpResponse r, bool keep) {
    auto res = std::make_shared<http::response<http::string_body>>(
        static_cast<http::status>(r.status), version_);
    res->set(http::field::server, "z480-panel");
    res->set(http::field::content_type, r.content_type);
    res->set("X-Content-Type-Options", "nosniff");
    if (!r.cache_control.empty()) res->set(http::field::cache_control, r.cache_control);
    res->keep_alive(keep);
    res->body() = std::move(r.body);
    res->prepare_payload();
    stream_.expires_after(kWriteDeadline);
    http::async_write(stream_, *res, [self = shared_from_this(), res](beast::error_code ec, std::size_t) {
      if (ec || !res->keep_alive()) return self->close();
      self->read();
    });
  }

  void close() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream_.close();
  }

  beast::tcp_stream stream_;
  NetServer::Impl &server_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  unsigned version_ = 11;
};

}  // namespace

void NetServer::Impl::accept() {
  acceptor.async_accept([this](beast::error_code ec, tcp::socket socket) {
    if (!acceptor.is_open()) return;
    if (ec) {
      // Out of descriptors, most likely: try again shortly rather than spin.
      retry.expires_after(std::chrono::milliseconds(50));
      retry.async_wait([this](beast::error_code) { accept(); });
      return;
    }
    // Small answers leave at once instead of waiting for the client's
    // delayed acknowledgement.
    socket.set_option(tcp::no_delay(true), ec);
    std::make_shared<HttpConnection>(std::move(socket), *this)->read();
    accept();
  });
}

NetServer::NetServer(NetHandler &handler, NetLimits limits)
    : impl_(std::make_unique<Impl>(handler, limits)) {}

NetServer::~NetServer() = default;

int NetServer::bind(int port, std::string *why) {
  beast::error_code ec;
  tcp::endpoint where(net::ip::make_address_v4("127.0.0.1"), static_cast<unsigned short>(port));
  tcp::acceptor &a = impl_->acceptor;
  a.open(where.protocol(), ec);
  // SO_REUSEADDR only lets the port be bound again while the connections of
  // a server that stopped linger; it never shares a port that is listened on.
  if (!ec) a.set_option(net::socket_base::reuse_address(true), ec);
  if (!ec) a.bind(where, ec);
  if (!ec) a.listen(net::socket_base::max_listen_connections, ec);
  if (ec) {
    *why = ec == net::error::address_in_use ? "the port is in use by another program" : ec.message();
    beast::error_code ignored;
    a.close(ignored);
    return -1;
  }
  impl_->port = a.local_endpoint().port();
  return impl_->port;
}

void NetServer::run() {
  impl_->accept();
  impl_->ioc.run();
}

void NetServer::stop() {
  net::post(impl_->ioc, [impl = impl_.get()] {
    beast::error_code ignored;
    impl->acceptor.close(ignored);
    impl->retry.cancel();
  });
  impl_->ioc.stop();
}

void NetServer::post(std::function<void()> f) { net::post(impl_->ioc, std::move(f)); }

}  // namespace z480
