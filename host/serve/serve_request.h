// What the panel server accepts from a browser, checked before anything
// touches the host: requests must come to and from this machine (a page of
// another site, or a name that merely resolves here, gets nothing), and
// every field of a request body is read whole and within its range, so a
// request that is refused has changed nothing.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace z480 {

// A Host header naming this server: localhost, 127.0.0.1 or [::1] with the
// server's own port (no port meaning 80). Anything else, an empty one
// included, is refused: another program's page on this machine is no page of
// ours.
bool local_host_header(std::string_view host, int port);
// An Origin header of a page this server served (http://localhost:PORT,
// http://127.0.0.1:PORT or http://[::1]:PORT); a request without one (not
// sent by a page of another site) passes: nullopt.
bool local_origin(std::optional<std::string_view> origin, int port);

// Fields of a form-encoded request body or query.
using Fields = std::map<std::string, std::string>;

// A form-encoded body or query ("a=1&b=x%20y"): nothing, and why, for an
// escape that is none or a field given twice (which of the two counts would
// be a guess).
std::optional<Fields> parse_form(std::string_view text, std::string *why);

// A mouse event on a gauge at a background pixel.
struct MouseRequest {
  std::string gauge;
  int x = 0, y = 0;
  std::uint32_t flags = 0;  // the host's mouse flags
};

// The mouse actions a page sends and the host's flags for them.
//   left, right   a button pressed
//   left-repeat, right-repeat
//                 that button still held (rectangles that repeat)
//   drag          the mouse moved with the left button held
//   move          the mouse moved over the gauge (also asks the tooltip)
std::optional<std::uint32_t> mouse_flags(std::string_view action);

// The flight strip: any of the pilot's elevator (positive pushes the nose
// down), aileron (positive rolls right) and rudder (positive yaws right),
// -1 to 1 each, and both power levers, 0 (idle) to 1.
struct ControlRequest {
  std::optional<double> elevator = {}, aileron = {}, rudder = {}, power = {};
};

struct SimRequest {
  std::optional<bool> paused;
  std::optional<double> rate;  // simulated seconds per second
};
inline constexpr double kMinRate = 0.25, kMaxRate = 8;

struct WindowRequest {
  std::uint32_t ident = 0;
  bool shown = false;
};

// Each parser gives the request, or nothing and says why. Fields it does
// not know are refused as well, so a misspelt field is no silent no-op.
std::optional<MouseRequest> parse_mouse(const Fields &f, std::string *why);
std::optional<ControlRequest> parse_controls(const Fields &f, std::string *why);
std::optional<SimRequest> parse_sim(const Fields &f, std::string *why);
std::optional<WindowRequest> parse_window(const Fields &f, std::string *why);
std::optional<std::string> parse_scenario(const Fields &f, std::string *why);

// A whole decimal number within lo..hi, written without sign tricks,
// spaces or trailing text.
std::optional<std::int64_t> whole_number(std::string_view text, std::int64_t lo, std::int64_t hi);
// A finite decimal number within lo..hi.
std::optional<double> real_number(std::string_view text, double lo, double hi);

// Text as UTF-8, ready for JSON: bytes that are no UTF-8 are taken as
// Latin-1 (the module's texts are).
std::string utf8_text(std::string_view text);

}  // namespace z480
