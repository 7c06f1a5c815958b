#include "host/script/script.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <sstream>

#include "frame/numeric.h"
#include "host/script/host_catalogue.h"
#include "host/util/utf8.h"

namespace z480 {

bool close_to(double actual, double expected, double tolerance) {
  if (std::isnan(expected)) return std::isnan(actual);
  if (std::isinf(expected)) return actual == expected;
  return std::fabs(actual - expected) <= tolerance;
}

namespace {

std::string where(const ScriptLine &line) {
  return line.file + ":" + std::to_string(line.number);
}

std::string show(double v) {
  std::ostringstream s;
  s.precision(10);
  s << v;
  return s.str();
}

// Default tolerance: exact but for rounding in the last places.
double default_tolerance(double expected) {
  return 1e-9 * std::fmax(1.0, std::fabs(expected));
}

}  // namespace

double tolerance(Args &a, double expected) {
  if (!a.keyword("~")) return default_tolerance(expected);
  double tol = a.number("a tolerance after ~");
  if (!(tol >= 0)) throw ScriptError("expected a tolerance of 0 or more after ~");
  return tol;
}

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kWordMax = std::numeric_limits<std::uint32_t>::max();

// A whole number from the text within lo..hi, or nothing.
std::optional<std::int64_t> whole(const std::string &text, std::int64_t lo, std::int64_t hi) {
  double v = 0;
  if (!parse_number(text, &v) || v != std::floor(v) || v < static_cast<double>(lo) ||
      v > static_cast<double>(hi))
    return std::nullopt;
  return static_cast<std::int64_t>(v);
}

PixPoint point(Args &a) {
  double x = a.number("an x pixel");
  double y = a.number("a y pixel");
  return {to_int(x), to_int(y)};
}

// --- mouse flags of the click command
const std::map<std::string, std::uint32_t> kClickFlags = {
    {"left", kMouseLeftSingle}, {"right", kMouseRightSingle}, {"drag", kMouseLeftDrag},
    {"move", kMouseMove},       {"repeat", kMouseDownRepeat},
};

}  // namespace

// --- elements and fields of element checks
ElementRef element_ref(const std::string &text) {
  ElementRef ref;
  if (text.size() > 1 && text[0] == '#') {
    auto n = whole(text.substr(1), 1, kInt32Max);
    if (!n) throw ScriptError("expected #N with a whole N from 1, got " + text);
    ref.index = static_cast<int>(*n);
    return ref;
  }
  if (text.size() > 1 && text[0] == '@') {
    std::string id = text.substr(1);
    std::size_t colon = id.find(':');
    std::optional<std::int64_t> k = 1;
    if (colon != std::string::npos) {
      k = whole(id.substr(colon + 1), 1, kInt32Max);
      if (!k) throw ScriptError("expected @BITMAP:K with a whole K from 1, got " + text);
      id.resize(colon);
    }
    auto bitmap = whole(id, kInt32Min, kInt32Max);
    if (!bitmap) throw ScriptError("expected @BITMAP with a whole bitmap id, got " + text);
    ref.by_bitmap = true;
    ref.bitmap = static_cast<std::int32_t>(*bitmap);
    ref.index = static_cast<int>(*k);
    return ref;
  }
  throw ScriptError("expected an element (@BITMAP, @BITMAP:K or #N), got " + text);
}

// Finds the element; -1 when there is none.
int find_element(Instance &inst, const ElementRef &ref) {
  const auto &elements = inst.elements();
  if (!ref.by_bitmap) return ref.index <= static_cast<int>(elements.size()) ? ref.index - 1 : -1;
  int seen = 0;
  for (std::size_t i = 0; i < elements.size(); ++i)
    if (elements[i]->resource_id == ref.bitmap && ++seen == ref.index) return static_cast<int>(i);
  return -1;
}

namespace {

using NumberField = double (*)(GaugeElement *, const ElementView &);
using TextField = std::string (*)(GaugeElement *, const ElementView &);

const std::map<std::string, NumberField> kNumberFields = {
    {"value", [](GaugeElement *, const ElementView &v) { return v.value; }},
    {"x", [](GaugeElement *, const ElementView &v) { return v.x; }},
    {"y", [](GaugeElement *, const ElementView &v) { return v.y; }},
    {"angle", [](GaugeElement *, const ElementView &v) { return v.angle; }},
    {"needle", [](GaugeElement *, const ElementView &v) { return v.needle; }},
    {"image", [](GaugeElement *, const ElementView &v) { return double(v.image); }},
    {"shown",
     [](GaugeElement *e, const ElementView &v) {
       bool hidden = (static_cast<std::uint32_t>(e->image_flags) & kImageHidden) ||
                     v.failure == kFailActionNoDraw;
       return hidden ? 0.0 : 1.0;
     }},
    {"failure", [](GaugeElement *, const ElementView &v) { return double(v.failure); }},
    {"flags",
     [](GaugeElement *e, const ElementView &) {
       return double(static_cast<std::uint32_t>(e->image_flags));
     }},
    {"bitmap", [](GaugeElement *e, const ElementView &) { return double(e->resource_id); }},
    {"color",
     [](GaugeElement *e, const ElementView &) {
       return e->element_type == kString
                  ? double(reinterpret_cast<StringElement *>(e)->fg_color)
                  : -1.0;
     }},
};

// Fields of two numbers, written X Y.
using PointField = PixPoint (*)(GaugeElement *);
const std::map<std::string, PointField> kPointFields = {
    {"position", [](GaugeElement *e) { return e->position; }},
    {"pivot", [](GaugeElement *e) { return e->ofs; }},
};

const std::map<std::string, TextField> kTextFields = {
    {"text", [](GaugeElement *, const ElementView &v) { return v.text; }},
    {"font",
     [](GaugeElement *e, const ElementView &) {
       if (e->element_type != kString) return std::string();
       const auto *s = reinterpret_cast<StringElement *>(e);
       return std::string(s->font_name, strnlen(s->font_name, sizeof s->font_name));
     }},
};

// The cursor a gauge shows at a point: that of the rectangle the mouse reaches.
Step cursor_check(const ScriptLine &line, const std::string &alias, Args &a) {
  PixPoint p = point(a);
  a.expect_keyword("=");
  std::int64_t expected = a.integer("a cursor number", kInt32Min, kInt32Max);
  a.done();
  return [=](ScriptRun &run) {
    std::int32_t got = run.host.cursor(run.instance(line, alias), p);
    if (got == expected) return run.pass();
    run.fail(line, "cursor is " + std::to_string(got) + ", expected " + std::to_string(expected));
  };
}

Step element_check(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  if (a.keyword("cursor")) return cursor_check(line, alias, a);
  ElementRef ref = element_ref(a.word("an element"));
  std::string field = "value";
  if (a.more() && a.peek().text != "=" && !a.peek().quoted) field = a.word("a field");
  a.expect_keyword("=");
  if (auto it = kPointFields.find(field); it != kPointFields.end()) {
    PixPoint expected{static_cast<std::int32_t>(a.integer("an x pixel", kInt32Min, kInt32Max)),
                      static_cast<std::int32_t>(a.integer("a y pixel", kInt32Min, kInt32Max))};
    a.done();
    PointField get = it->second;
    return [=](ScriptRun &run) {
      Instance &inst = run.instance(line, alias);
      int i = find_element(inst, ref);
      if (i < 0) return run.fail(line, "no such element in " + alias);
      PixPoint got = get(inst.elements()[i]);
      if (got.x == expected.x && got.y == expected.y) return run.pass();
      run.fail(line, field + " is " + std::to_string(got.x) + " " + std::to_string(got.y) +
                         ", expected " + std::to_string(expected.x) + " " +
                         std::to_string(expected.y));
    };
  }
  if (auto it = kTextFields.find(field); it != kTextFields.end()) {
    std::string expected = a.text("a quoted text");
    a.done();
    TextField get = it->second;
    return [=](ScriptRun &run) {
      Instance &inst = run.instance(line, alias);
      int i = find_element(inst, ref);
      if (i < 0) return run.fail(line, "no such element in " + alias);
      std::string got = get(inst.elements()[i], inst.views()[i]);
      if (got == expected) return run.pass();
      run.fail(line, field + " is \"" + got + "\", expected \"" + expected + "\"");
    };
  }
  auto it = kNumberFields.find(field);
  if (it == kNumberFields.end())
    throw ScriptError("expected a field (value, x, y, angle, needle, image, shown, failure, "
                      "flags, bitmap, color, text, font, position, pivot), got " + field);
  double expected = a.number("a value");
  double tol = tolerance(a, expected);
  a.done();
  NumberField get = it->second;
  return [=](ScriptRun &run) {
    Instance &inst = run.instance(line, alias);
    int i = find_element(inst, ref);
    if (i < 0) return run.fail(line, "no such element in " + alias);
    double got = get(inst.elements()[i], inst.views()[i]);
    if (close_to(got, expected, tol)) return run.pass();
    run.fail(line, field + " is " + show(got) + ", expected " + show(expected));
  };
}

// --- the commands

Step cmd_place(const ScriptLine &line, Args &a) {
  std::string gauge = a.word("a gauge name");
  std::string alias = gauge;
  std::optional<std::string> param;
  while (a.more()) {
    if (a.keyword("as"))
      alias = a.word("an alias after as");
    else if (a.keyword("param"))
      param = a.text("a quoted parameter text after param");
    else
      throw ScriptError("expected as or param, got " + a.peek().text);
  }
  return [=](ScriptRun &run) {
    std::string error;
    if (!run.host.place(gauge, alias, param, &error)) run.error(line, error);
  };
}

Step cmd_remove(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  a.done();
  return [=](ScriptRun &run) {
    if (!run.host.remove(alias)) run.error(line, "no instance named " + alias);
  };
}

Step cmd_service(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  std::int64_t code = a.integer("a service code", kInt32Min, kInt32Max);
  std::int64_t extra = a.more() ? a.integer("extra data") : 0;
  a.done();
  return [=](ScriptRun &run) {
    run.host.service(run.instance(line, alias), static_cast<std::int32_t>(code),
                     static_cast<ServiceData>(extra));
  };
}

Step cmd_set(const ScriptLine &, Args &a) {
  std::int32_t token = a.token();
  double value = a.number("a value");
  a.done();
  return [=](ScriptRun &run) { run.host.set_var(static_cast<std::int32_t>(token), value); };
}

Step cmd_frame(const ScriptLine &, Args &a) {
  std::int64_t n = a.more() ? a.integer("a frame count") : 1;
  a.done();
  if (n < 0 || n > 10'000'000) throw ScriptError("expected a frame count from 0 to 10000000");
  return [=](ScriptRun &run) {
    for (std::int64_t i = 0; i < n; ++i) run.host.frame();
  };
}

Step cmd_click(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  PixPoint p = point(a);
  std::uint32_t flags = kMouseLeftSingle;
  std::int64_t times = 1;
  while (a.more()) {
    if (a.keyword("times")) {
      times = a.integer("a count after times");
      if (times < 0 || times > 1'000'000) throw ScriptError("expected a count from 0 to 1000000");
      continue;
    }
    std::string w = a.peek().text;
    if (auto it = kClickFlags.find(w); it != kClickFlags.end()) {
      a.word("mouse flags");
      flags = it->second;
    } else {
      flags = static_cast<std::uint32_t>(a.integer("mouse flags (left, right, drag, move, "
                                                   "repeat or a number)",
                                                   0, kWordMax));
    }
  }
  return [=](ScriptRun &run) {
    Instance &inst = run.instance(line, alias);
    for (std::int64_t i = 0; i < times; ++i) run.host.click(inst, p, flags);
  };
}

std::uint32_t window_ident(Args &a) {
  return static_cast<std::uint32_t>(a.integer("a panel window ident", 0, kWordMax));
}

bool shown_word(Args &a) {
  std::string w = a.word("shown or hidden");
  if (w == "shown") return true;
  if (w == "hidden") return false;
  throw ScriptError("expected shown or hidden, got " + w);
}

Step cmd_window(const ScriptLine &, Args &a) {
  std::uint32_t ident = window_ident(a);
  bool shown = shown_word(a);
  a.done();
  return [=](ScriptRun &run) { run.host.set_window(ident, shown); };
}

Step cmd_expect(const ScriptLine &line, Args &a) {
  const Token &t = a.peek();
  if (!t.quoted) {
    auto &table = expect_table();
    if (auto it = table.find(t.text); it != table.end()) {
      a.word("");
      return it->second(line, a);
    }
  }
  return element_check(line, a);
}

// --- expect subcommands

std::string describe(const std::vector<KeyEvent> &events) {
  if (events.empty()) return "none";
  std::string s;
  for (const KeyEvent &e : events) {
    if (!s.empty()) s += ' ';
    s += std::to_string(e.id) + ":" + std::to_string(static_cast<std::int32_t>(e.value));
  }
  return s;
}

Step expect_events(const ScriptLine &line, Args &a) {
  std::vector<EventPattern> want;
  if (a.keyword("none")) {
    a.done();
  } else {
    if (!a.more()) throw ScriptError("expected event ids or none");
    while (a.more()) want.push_back(event_pattern(a.word("an event ID[:VALUE]")));
  }
  return [=](ScriptRun &run) {
    std::vector<KeyEvent> got = run.host.events();
    run.host.forget_events();
    bool same = got.size() == want.size();
    for (std::size_t i = 0; same && i < got.size(); ++i) same = want[i].matches(got[i].id, got[i].value);
    if (same) return run.pass();
    std::string expected;
    for (const EventPattern &e : want) expected += (expected.empty() ? "" : " ") + e.text();
    run.fail(line, "events were " + describe(got) + ", expected " +
                       (expected.empty() ? "none" : expected));
  };
}

Step expect_window(const ScriptLine &line, Args &a) {
  std::uint32_t ident = window_ident(a);
  bool shown = shown_word(a);
  a.done();
  return [=](ScriptRun &run) {
    if (run.host.window_shown(ident) == shown) return run.pass();
    run.fail(line, "window " + std::to_string(ident) + " is " +
                       (shown ? "hidden" : "shown") + ", expected " + (shown ? "shown" : "hidden"));
  };
}

Step expect_token(const ScriptLine &line, Args &a) {
  std::int32_t token = a.token();
  a.expect_keyword("=");
  double expected = a.number("a value");
  double tol = tolerance(a, expected);
  a.done();
  return [=](ScriptRun &run) {
    double got = run.host.var(static_cast<std::int32_t>(token));
    if (close_to(got, expected, tol)) return run.pass();
    run.fail(line, "token " + std::to_string(token) + " is " + show(got) + ", expected " +
                       show(expected));
  };
}

Step expect_help(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  PixPoint p = point(a);
  bool of_tooltip = a.keyword("tooltip");
  a.expect_keyword("=");
  std::int64_t expected = a.integer("a help id", kInt32Min, kInt32Max);
  a.done();
  return [=](ScriptRun &run) {
    Instance &inst = run.instance(line, alias);
    std::int32_t got = of_tooltip ? run.host.tooltip_help_id(inst, p) : run.host.help_id(inst, p);
    if (got == expected) return run.pass();
    run.fail(line, "help id is " + std::to_string(got) + ", expected " + std::to_string(expected));
  };
}

Step expect_tooltip(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  PixPoint p = point(a);
  std::string expected = a.text("a quoted tooltip text");
  a.done();
  return [=](ScriptRun &run) {
    std::string got = run.host.tooltip(run.instance(line, alias), p);
    if (got == expected) return run.pass();
    run.fail(line, "tooltip is \"" + got + "\", expected \"" + expected + "\"");
  };
}

}  // namespace

namespace {

ScriptTables &script_tables() {
  static ScriptTables tables = [] {
    ScriptTables t{
        {{"place", cmd_place},   {"remove", cmd_remove}, {"service", cmd_service},
         {"set", cmd_set},       {"frame", cmd_frame},   {"click", cmd_click},
         {"window", cmd_window}, {"expect", cmd_expect}},
        {{"events", expect_events}, {"window", expect_window},   {"token", expect_token},
         {"help", expect_help},     {"tooltip", expect_tooltip}},
    };
    for (auto add : {add_clock_commands, add_failure_commands, add_flight_commands, add_log_commands, add_model_commands,
                     add_navigation_commands,
                     add_panel_commands, add_pixel_commands, add_render_commands,
                     add_report_commands, add_sound_commands, add_traffic_commands})
      add(t);
    return t;
  }();
  return tables;
}

}  // namespace

std::map<std::string, CommandParser> &command_table() { return script_tables().commands; }
std::map<std::string, CommandParser> &expect_table() { return script_tables().expects; }

// --- arguments

EventPattern event_pattern(const std::string &word) {
  std::size_t colon = word.find(':');
  std::string name = word.substr(0, colon);
  std::optional<std::int64_t> id = catalogue_event(name);
  if (!id) id = whole(name, kInt32Min, kInt32Max);
  if (!id) throw ScriptError("expected an event ID[:VALUE] (a number or a name), got " + word);
  EventPattern e{static_cast<std::int32_t>(*id), std::nullopt};
  if (colon == std::string::npos) return e;
  // Values as the module sends them: a 32-bit word, or negative in two's complement.
  auto value = whole(word.substr(colon + 1), kInt32Min, kWordMax);
  if (!value) throw ScriptError("expected a whole event value after ':', got " + word);
  e.value = static_cast<std::uint32_t>(*value);
  return e;
}

bool EventPattern::matches(std::int32_t event, std::uint32_t event_value) const {
  return event == id && (!value || *value == event_value);
}

std::string EventPattern::text() const {
  std::string s = std::to_string(id);
  if (value) s += ":" + std::to_string(static_cast<std::int32_t>(*value));
  return s;
}

bool parse_number(const std::string &text, double *out) {
  if (text == "nan") return *out = std::nan(""), true;
  if (text == "inf") return *out = HUGE_VAL, true;
  if (text == "-inf") return *out = -HUGE_VAL, true;
  if (text.empty() || text.size() > 64) return false;
  std::string body = text;
  bool negative = false;
  if (body[0] == '-' || body[0] == '+') {
    negative = body[0] == '-';
    body.erase(0, 1);
  }
  errno = 0;
  char *end = nullptr;
  if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
    if (!std::isxdigit(static_cast<unsigned char>(body[2]))) return false;
    unsigned long long v = std::strtoull(body.c_str() + 2, &end, 16);
    if (*end != '\0' || errno == ERANGE) return false;
    *out = negative ? -static_cast<double>(v) : static_cast<double>(v);
    return true;
  }
  if (body.empty() || !(std::isdigit(static_cast<unsigned char>(body[0])) || body[0] == '.'))
    return false;
  double v = std::strtod(body.c_str(), &end);
  if (*end != '\0' || std::isnan(v) || std::isinf(v)) return false;
  *out = negative ? -v : v;
  return true;
}

const Token &Args::peek() const {
  static const Token kNone;
  return more() ? line_.tokens[at_] : kNone;
}

std::string Args::word(const char *what) {
  if (!more() || peek().quoted) throw ScriptError(std::string("expected ") + what);
  return line_.tokens[at_++].text;
}

std::string Args::text(const char *what) {
  if (!more() || !peek().quoted) throw ScriptError(std::string("expected ") + what);
  return line_.tokens[at_++].text;
}

double Args::number(const char *what) {
  double v = 0;
  if (!more() || peek().quoted || !parse_number(peek().text, &v))
    throw ScriptError(std::string("expected ") + what +
                      (more() ? ", got " + peek().text : std::string()));
  ++at_;
  return v;
}

std::int64_t Args::integer(const char *what) {
  double v = number(what);
  if (!(v == std::floor(v)) || std::fabs(v) > 9.0e15)
    throw ScriptError(std::string("expected ") + what + " (a whole number)");
  return static_cast<std::int64_t>(v);
}

std::int64_t Args::integer(const char *what, std::int64_t lo, std::int64_t hi) {
  std::int64_t v = integer(what);
  if (v < lo || v > hi)
    throw ScriptError(std::string("expected ") + what + " from " + std::to_string(lo) + " to " +
                      std::to_string(hi) + ", got " + std::to_string(v));
  return v;
}

std::int32_t Args::token() {
  if (more() && !peek().quoted)
    if (auto named = catalogue_token(peek().text)) {
      ++at_;
      return *named;
    }
  return static_cast<std::int32_t>(integer("a token number or name", kInt32Min, kInt32Max));
}

bool Args::keyword(const char *w) {
  if (more() && !peek().quoted && peek().text == w) {
    ++at_;
    return true;
  }
  return false;
}

void Args::expect_keyword(const char *w) {
  if (!keyword(w))
    throw ScriptError(std::string("expected ") + w + (more() ? ", got " + peek().text : ""));
}

void Args::done() {
  if (more()) throw ScriptError("expected the end of the line, got " + peek().text);
}

// --- running

void ScriptRun::fail(const ScriptLine &line, const std::string &message) {
  ++failed_;
  out_ << printable(where(line) + ": " + message) << "\n";
}

void ScriptRun::error(const ScriptLine &line, const std::string &message) {
  ++errors_;
  out_ << printable(where(line) + ": error: " + message) << "\n";
}

Instance &ScriptRun::instance(const ScriptLine &, const std::string &alias) {
  if (Instance *inst = host.instance(alias)) return *inst;
  throw CommandError("no instance named " + alias);
}

std::string printable(const std::string &text) {
  std::string out;
  std::size_t word = 0;  // bytes of the current word so far
  for (std::size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = utf8_sequence_length(text, i);
    word = c == ' ' ? 0 : word + 1;
    if (word > kMaxEchoedWord) {  // the rest of an overlong word, left out
      std::size_t end = text.find(' ', i);
      if (end == std::string::npos) end = text.size();
      out += "...(" + std::to_string(end - i) + " more bytes)";
      i = end;
      continue;
    }
    if (c == '\\') {
      out += "\\\\";
    } else if (length == 1 && c >= 0x20 && c != 0x7f) {
      out += static_cast<char>(c);
    } else if (length > 1) {
      out.append(text, i, length);
      i += length;
      continue;
    } else {
      static const char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
    ++i;
  }
  return out;
}

namespace {
// Six hex digits after the '#' at i, then the end of the word.
bool is_colour(const std::string &text, std::size_t i) {
  std::size_t end = i + 7;
  if (end > text.size() || (end < text.size() && text[end] != ' ' && text[end] != '\t' &&
                            text[end] != '\r'))
    return false;
  for (std::size_t k = i + 1; k < end; ++k)
    if (!std::isxdigit(static_cast<unsigned char>(text[k]))) return false;
  return true;
}
}  // namespace

std::vector<ScriptLine> tokenize_script(const std::string &file, const std::string &source) {
  std::vector<ScriptLine> lines;
  std::istringstream in(source);
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    ScriptLine line{file, number, {}};
    std::size_t i = 0;
    while (i < text.size()) {
      char c = text[i];
      // '#' starts a comment, except #N (an element by drawing order) and
      // #RRGGBB (a colour).
      if (c == '#' && !(i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) &&
          !is_colour(text, i))
        break;
      if (c == ' ' || c == '\t' || c == '\r') {
        ++i;
        continue;
      }
      if (c == '"') {
        std::size_t end = text.find('"', i + 1);
        if (end == std::string::npos)
          throw ScriptError(where(line) + ": expected a closing quote");
        line.tokens.push_back({text.substr(i + 1, end - i - 1), true});
        i = end + 1;
        continue;
      }
      std::size_t end = i;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\r' &&
             text[end] != '"')
        ++end;
      line.tokens.push_back({text.substr(i, end - i), false});
      i = end;
    }
    if (!line.tokens.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<Step> parse_script(const std::vector<ScriptLine> &lines) {
  std::vector<Step> steps;
  for (const ScriptLine &line : lines) {
    const Token &first = line.tokens.front();
    auto &table = command_table();
    auto it = first.quoted ? table.end() : table.find(first.text);
    if (it == table.end())
      throw ScriptError(where(line) + ": expected a command, got " + first.text);
    Args args(line);
    Step step;
    try {
      step = it->second(line, args);
    } catch (const ScriptError &e) {
      throw ScriptError(where(line) + ": " + e.what());
    }
    // A command that cannot be carried out is counted and reported, and the
    // script goes on, so the checks after it still run.
    steps.push_back([line, step = std::move(step)](ScriptRun &run) {
      try {
        step(run);
      } catch (const std::exception &e) {
        run.error(line, e.what());
      }
    });
  }
  return steps;
}

ScriptTotals run_script(const std::string &module_path, const std::string &file,
                        const std::string &source, std::ostream &out,
                        const std::function<void(ScriptRun &)> &finished,
                        const std::function<void(ScriptRun &)> &started) {
  ScriptTotals totals;
  auto error = [&](const std::string &message) {
    out << printable(message) << "\n";
    ++totals.errors;
  };
  std::vector<Step> steps;
  try {
    std::vector<ScriptLine> lines = tokenize_script(file, source);
    if (lines.empty()) {
      error(file + ": error: the script is empty");
      return totals;
    }
    steps = parse_script(lines);
  } catch (const ScriptError &e) {
    error(e.what());
    return totals;
  }
  std::string why;
  auto module = Module::load(module_path, &why);
  if (!module) {
    error(file + ": error: " + why);
    return totals;
  }
  ScriptRun run(*module, out);
  if (started) started(run);
  for (const Step &step : steps) step(run);
  // The checks that wait on the sound card are done before the run counts.
  try {
    run.host.audio().settle();
  } catch (const std::exception &e) {
    error(file + ": error: " + e.what());
  }
  if (finished) finished(run);
  // A header routine that reaches another gauge's elements is the module's
  // fault, whatever the script checked.
  for (const std::string &fault : run.host.routine_faults()) error(file + ": error: " + fault);
  totals.passed = run.passed();
  totals.failed = run.failed();
  totals.errors += run.errors();
  // A script that checks nothing proves nothing: say so rather than pass.
  if (run.passed() + run.failed() == 0) error(file + ": error: the script checks nothing");
  return totals;
}

}  // namespace z480
