#include "host/serve/serve_request.h"

#include <charconv>
#include <cmath>
#include <set>

#include "frame/panel.h"
#include "host/util/utf8.h"

namespace z480 {
namespace {

constexpr std::string_view kLocalNames[] = {"localhost", "127.0.0.1", "[::1]"};

// "NAME" or "NAME:PORT" with NAME one of this machine's and PORT the
// server's (no port: 80, as the client's default).
bool local_authority(std::string_view authority, int port, bool port_needed) {
  for (std::string_view name : kLocalNames) {
    if (authority.substr(0, name.size()) != name) continue;
    std::string_view rest = authority.substr(name.size());
    if (rest.empty()) return !port_needed && port == 80;
    auto given = rest[0] == ':' ? whole_number(rest.substr(1), 1, 65535) : std::nullopt;
    return given && *given == port;
  }
  return false;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> form_decode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] != '%') {
      out += text[i];
    } else {
      int hi = i + 2 < text.size() ? hex_digit(text[i + 1]) : -1;
      int lo = hi >= 0 ? hex_digit(text[i + 2]) : -1;
      if (lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    }
  }
  return out;
}

// Refuses fields the request does not know, naming the first.
bool only_known(const Fields &f, std::set<std::string_view> known, std::string *why) {
  for (const auto &[key, value] : f) {
    if (known.count(key) == 0) {
      *why = "unknown field " + key;
      return false;
    }
  }
  return true;
}

// An optional real field within lo..hi; false (with why) when present but bad.
bool optional_real(const Fields &f, const std::string &key, double lo, double hi,
                   std::optional<double> *out, std::string *why) {
  auto it = f.find(key);
  if (it == f.end()) return true;
  *out = real_number(it->second, lo, hi);
  if (!*out) *why = key + " must be a number from " + std::to_string(lo) + " to " + std::to_string(hi);
  return out->has_value();
}

struct MouseAction {
  std::string_view name;
  std::uint32_t flags;
};
constexpr MouseAction kMouseActions[] = {
    {"left", kMouseLeftSingle},
    {"right", kMouseRightSingle},
    {"left-repeat", kMouseLeftSingle | kMouseDownRepeat},
    {"right-repeat", kMouseRightSingle | kMouseDownRepeat},
    {"drag", kMouseLeftDrag},
    {"move", kMouseMove},
};

// The largest gauge background the host draws, in pixels either way.
constexpr int kMaxGaugePixels = 4096;

}  // namespace

bool local_host_header(std::string_view host, int port) { return local_authority(host, port, false); }

bool local_origin(std::optional<std::string_view> origin, int port) {
  if (!origin) return true;
  constexpr std::string_view kScheme = "http://";
  if (origin->substr(0, kScheme.size()) != kScheme) return false;
  return local_authority(origin->substr(kScheme.size()), port, false);
}

std::optional<Fields> parse_form(std::string_view text, std::string *why) {
  Fields f;
  while (!text.empty()) {
    std::string_view pair = text.substr(0, text.find('&'));
    text.remove_prefix(std::min(text.size(), pair.size() + 1));
    if (pair.empty()) continue;
    std::size_t eq = pair.find('=');
    auto key = form_decode(pair.substr(0, eq));
    auto value = form_decode(eq == std::string_view::npos ? "" : pair.substr(eq + 1));
    if (!key || !value) {
      *why = "a field is not form-encoded";
      return std::nullopt;
    }
    if (!f.emplace(std::move(*key), std::move(*value)).second) {
      *why = "a field is given twice";
      return std::nullopt;
    }
  }
  return f;
}

std::optional<std::uint32_t> mouse_flags(std::string_view action) {
  for (const MouseAction &a : kMouseActions)
    if (a.name == action) return a.flags;
  return std::nullopt;
}

std::optional<std::int64_t> whole_number(std::string_view text, std::int64_t lo, std::int64_t hi) {
  std::int64_t v = 0;
  const char *end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || p != end || v < lo || v > hi) return std::nullopt;
  return v;
}

std::optional<double> real_number(std::string_view text, double lo, double hi) {
  double v = 0;
  const char *end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (text.empty() || ec != std::errc() || p != end || !std::isfinite(v) || v < lo || v > hi)
    return std::nullopt;
  return v;
}

std::optional<MouseRequest> parse_mouse(const Fields &f, std::string *why) {
  if (!only_known(f, {"gauge", "x", "y", "action"}, why)) return std::nullopt;
  auto gauge = f.find("gauge"), x = f.find("x"), y = f.find("y"), action = f.find("action");
  if (gauge == f.end() || x == f.end() || y == f.end() || action == f.end()) {
    *why = "gauge, x, y and action are needed";
    return std::nullopt;
  }
  MouseRequest r;
  r.gauge = gauge->second;
  auto flags = mouse_flags(action->second);
  auto px = whole_number(x->second, 0, kMaxGaugePixels - 1);
  auto py = whole_number(y->second, 0, kMaxGaugePixels - 1);
  if (!flags) *why = "action must be left, right, left-repeat, right-repeat, drag or move";
  else if (!px || !py) *why = "x and y must be whole pixels inside the gauge";
  if (!flags || !px || !py) return std::nullopt;
  r.flags = *flags;
  r.x = static_cast<int>(*px);
  r.y = static_cast<int>(*py);
  return r;
}

std::optional<ControlRequest> parse_controls(const Fields &f, std::string *why) {
  if (!only_known(f, {"elevator", "aileron", "rudder", "power"}, why)) return std::nullopt;
  ControlRequest r;
  if (!optional_real(f, "elevator", -1, 1, &r.elevator, why) ||
      !optional_real(f, "aileron", -1, 1, &r.aileron, why) ||
      !optional_real(f, "rudder", -1, 1, &r.rudder, why) ||
      !optional_real(f, "power", 0, 1, &r.power, why))
    return std::nullopt;
  if (!r.elevator && !r.aileron && !r.rudder && !r.power) {
    *why = "elevator, aileron, rudder or power is needed";
    return std::nullopt;
  }
  return r;
}

std::optional<SimRequest> parse_sim(const Fields &f, std::string *why) {
  if (!only_known(f, {"paused", "rate"}, why)) return std::nullopt;
  SimRequest r;
  if (auto it = f.find("paused"); it != f.end()) {
    auto v = whole_number(it->second, 0, 1);
    if (!v) {
      *why = "paused must be 0 or 1";
      return std::nullopt;
    }
    r.paused = *v == 1;
  }
  if (!optional_real(f, "rate", kMinRate, kMaxRate, &r.rate, why)) return std::nullopt;
  if (!r.paused && !r.rate) {
    *why = "paused or rate is needed";
    return std::nullopt;
  }
  return r;
}

std::optional<WindowRequest> parse_window(const Fields &f, std::string *why) {
  if (!only_known(f, {"ident", "shown"}, why)) return std::nullopt;
  auto ident = f.find("ident"), shown = f.find("shown");
  if (ident == f.end() || shown == f.end()) {
    *why = "ident and shown are needed";
    return std::nullopt;
  }
  auto i = whole_number(ident->second, 0, UINT32_MAX);
  auto s = whole_number(shown->second, 0, 1);
  if (!i || !s) {
    *why = "ident must be a window ident and shown 0 or 1";
    return std::nullopt;
  }
  return WindowRequest{static_cast<std::uint32_t>(*i), *s == 1};
}

std::optional<std::string> parse_scenario(const Fields &f, std::string *why) {
  if (!only_known(f, {"name"}, why)) return std::nullopt;
  auto it = f.find("name");
  if (it == f.end() || it->second.empty()) {
    *why = "name is needed";
    return std::nullopt;
  }
  return it->second;
}

std::string utf8_text(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = utf8_sequence_length(text, i);
    if (length >= 1) {
      out.append(text.substr(i, length));
      i += length - 1;
    } else {  // a stray byte, read as Latin-1
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace z480
