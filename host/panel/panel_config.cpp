#include "host/panel/panel_config.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>

namespace z480 {
namespace {

constexpr long kMaxCoordinate = 100000;  // far beyond any screen, far from overflow

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool iequals(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

// Everything before a `//` comment.
std::string_view uncommented(std::string_view s) {
  std::size_t at = s.find("//");
  return trim(at == std::string_view::npos ? s : s.substr(0, at));
}

template <typename T>
bool parse_whole(std::string_view s, T *out) {
  s = trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), *out);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

bool parse_coordinate(std::string_view s, int *out) {
  long v = 0;
  if (!parse_whole(s, &v) || v < -kMaxCoordinate || v > kMaxCoordinate) return false;
  *out = static_cast<int>(v);
  return true;
}

bool parse_fraction(std::string_view s, double *out) {
  s = trim(s);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), *out);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty() && *out >= -10 &&
         *out <= 10;
}

// Comma-separated fields of a value.
std::vector<std::string_view> fields(std::string_view s) {
  std::vector<std::string_view> out;
  for (;;) {
    std::size_t comma = s.find(',');
    out.push_back(trim(s.substr(0, comma)));
    if (comma == std::string_view::npos) return out;
    s.remove_prefix(comma + 1);
  }
}

// NN of a name that is PREFIX followed by digits only.
std::optional<int> numbered(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || !iequals(name.substr(0, prefix.size()), prefix))
    return std::nullopt;
  int n = 0;
  std::string_view digits = name.substr(prefix.size());
  if (!std::all_of(digits.begin(), digits.end(),
                   [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }) ||
      !parse_whole(digits, &n))
    return std::nullopt;
  return n;
}

struct IdentName {
  const char *name;
  std::uint32_t ident;
};
constexpr IdentName kIdentNames[] = {
    {"MAIN_PANEL", 0},           {"THROTTLE_PANEL", 10},      {"RADIO_STACK_PANEL", 50},
    {"COMPASS_PANEL", 75},       {"MINI_CONTROLS_PANEL", 100}, {"ANNUNCIATOR_PANEL", 125},
    {"ANNUNCIATOR2_PANEL", 150}, {"IFR_MAIN_PANEL", 175},     {"COLLECTIVE_PANEL", 200},
    {"GPS_PANEL", 225},          {"OVERHEAD_PANEL", 250},     {"USER", kUserIdentBase},
};
constexpr std::uint32_t kInvalidIdent = 0xFFFFFFFFu;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

class Reader {
 public:
  PanelConfig read(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    int number = 0;
    // Lines end in LF, CR LF or a lone CR, as editors of every system
    // leave them.
    while (!text.empty()) {
      std::size_t end = text.find_first_of("\r\n");
      line(++number, trim(text.substr(0, end)));
      if (end == std::string_view::npos) break;
      bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }
    finish();
    return std::move(config_);
  }

 private:
  enum class Section { kNone, kTitles, kWindow, kSkipped };

  void report(int line, std::string message) {
    config_.diagnostics.push_back({line, std::move(message)});
  }

  void line(int number, std::string_view text) {
    if (text.empty() || text.starts_with("//") || text.front() == ';') return;
    if (text.front() == '[') return section(number, text);
    std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) return report(number, "expected KEY=VALUE");
    std::string_view key = trim(text.substr(0, eq));
    std::string_view value = trim(text.substr(eq + 1));
    if (key.empty()) return report(number, "expected a key before '='");
    if (section_ == Section::kTitles) return title(number, key, value);
    if (section_ == Section::kWindow) return window_key(number, key, value);
  }

  void section(int number, std::string_view text) {
    std::size_t close = text.find(']');
    if (close == std::string_view::npos) {
      section_ = Section::kSkipped;
      return report(number, "expected ']' to close the section name");
    }
    std::string_view name = trim(text.substr(1, close - 1));
    section_ = Section::kSkipped;
    if (iequals(name, "Window Titles")) {
      section_ = Section::kTitles;
    } else if (auto n = numbered(name, "Window")) {
      if (!seen_windows_.insert(*n).second)
        return report(number, "[" + std::string(name) + "] is given twice; this one is skipped");
      PanelWindowConfig w;
      w.number = *n;
      w.line = number;
      w.ident = kUserIdentBase + static_cast<std::uint32_t>(*n);
      config_.windows.push_back(std::move(w));
      section_ = Section::kWindow;
    }
  }

  void title(int number, std::string_view key, std::string_view value) {
    if (auto n = numbered(key, "Window"))
      titles_[*n] = std::string(value);
    else
      report(number, "expected WindowNN=TITLE");
  }

  void window_key(int number, std::string_view key, std::string_view value) {
    PanelWindowConfig &w = config_.windows.back();
    std::string k = lower(key);
    if (auto n = numbered(key, "gauge")) return gauge(number, *n, value, w);
    std::string_view v = uncommented(value);
    auto bad = [&](const char *what) { report(number, std::string(key) + ": expected " + what); };
    if (k == "size_mm") {
      auto f = fields(v);
      int width = 0, height = 0;
      if (f.size() != 2 || !parse_coordinate(f[0], &width) || !parse_coordinate(f[1], &height) ||
          width <= 0 || height <= 0)
        return bad("WIDTH,HEIGHT above 0");
      w.width = width;
      w.height = height;
    } else if (k == "visible") {
      if (v != "0" && v != "1") return bad("0 or 1");
      w.visible = v == "1";
    } else if (k == "ident") {
      auto ident = panel_ident(v);
      if (!ident) return bad("a panel ident name or number");
      w.ident = *ident;
      ident_lines_[w.number] = number;
    } else if (k == "file" || k == "file_1024") {
      w.file = std::string(v);
    } else if (k == "background_color") {
      auto f = fields(v);
      std::uint32_t rgb = 0;
      for (std::string_view c : f) {
        int channel = -1;
        if (f.size() != 3 || !parse_whole(c, &channel) || channel < 0 || channel > 255)
          return bad("R,G,B from 0 to 255");
        rgb = rgb << 8 | static_cast<std::uint32_t>(channel);
      }
      w.background_color = rgb;
    } else if (k == "position") {
      int p = -1;
      if (!parse_whole(v, &p) || p < 0 || p > 8) return bad("a screen position from 0 to 8");
      w.position = p;
    } else if (k == "window_pos" || k == "window_size") {
      auto f = fields(v);
      double a = 0, b = 0;
      if (f.size() != 2 || !parse_fraction(f[0], &a) || !parse_fraction(f[1], &b))
        return bad("two fractions of the screen");
      (k == "window_pos" ? w.pos_x : w.size_x) = a;
      (k == "window_pos" ? w.pos_y : w.size_y) = b;
    }
  }

  // MODULE!GAUGE, X, Y[, W[, H]][, PARAMETER]
  void gauge(int number, int nn, std::string_view value, PanelWindowConfig &w) {
    if (!seen_gauges_.insert({w.number, nn}).second)
      return report(number, "gauge" + std::to_string(nn) + " is given twice; this one is skipped");
    if (placed_ == kMaxPanelGauges)
      return report(number, "the panel places more than " + std::to_string(kMaxPanelGauges) +
                                " gauges; this one and the rest are skipped");
    GaugePlacementConfig g;
    g.line = number;
    std::size_t bang = value.find('!');
    std::size_t comma = value.find(',');
    if (bang == std::string_view::npos || (comma != std::string_view::npos && comma < bang))
      return report(number, "expected MODULE!GAUGE, X, Y");
    g.module = std::string(trim(value.substr(0, bang)));
    value.remove_prefix(bang + 1);
    // Fields one at a time: the parameter is the raw rest, commas and all.
    auto next = [&value](std::string_view *field) {
      if (value.data() == nullptr) return false;
      std::size_t c = value.find(',');
      *field = value.substr(0, c);
      value = c == std::string_view::npos ? std::string_view() : value.substr(c + 1);
      return true;
    };
    // A comment after a number ends the line.
    auto number_field = [&value](std::string_view field) {
      std::size_t at = field.find("//");
      if (at == std::string_view::npos) return trim(field);
      value = std::string_view();
      return trim(field.substr(0, at));
    };
    std::string_view field;
    next(&field);
    g.gauge = std::string(number_field(field));
    if (g.module.empty() || g.gauge.empty()) return report(number, "expected MODULE!GAUGE, X, Y");
    if (!next(&field) || !parse_coordinate(number_field(field), &g.x) || !next(&field) ||
        !parse_coordinate(number_field(field), &g.y))
      return report(number, "expected whole X and Y after the gauge name");
    for (std::optional<int> *size : {&g.width, &g.height}) {
      std::string_view rest = value;
      if (!next(&field)) break;
      std::string_view n = number_field(field);
      int v = 0;
      if (n.empty()) continue;
      if (!parse_coordinate(n, &v)) {  // not a size: the parameter starts here
        value = rest;
        break;
      }
      if (v <= 0) return report(number, "a gauge's width and height must be above 0");
      *size = v;
    }
    if (std::string_view p = trim(value); !p.empty()) g.parameters = std::string(p);
    w.gauges.push_back(std::move(g));
    ++placed_;
  }

  // Titles go to their windows; an ident taken by an earlier window is
  // dropped for the window's own user ident, and a window left without a
  // free ident is skipped.
  void finish() {
    std::set<std::uint32_t> used;
    for (PanelWindowConfig &w : config_.windows) {
      if (auto t = titles_.find(w.number); t != titles_.end()) w.title = t->second;
      if (used.insert(w.ident).second) continue;
      auto line = ident_lines_.find(w.number);
      std::string taken = "ident " + std::to_string(w.ident) + " is already another window's";
      w.ident = kUserIdentBase + static_cast<std::uint32_t>(w.number);
      if (used.insert(w.ident).second) {
        report(line == ident_lines_.end() ? w.line : line->second,
               taken + "; Window" + std::to_string(w.number) + " takes " +
                   std::to_string(w.ident));
        continue;
      }
      report(w.line, taken + "; Window" + std::to_string(w.number) + " is skipped");
      w.number = -1;
    }
    std::erase_if(config_.windows, [](const PanelWindowConfig &w) { return w.number < 0; });
  }

  PanelConfig config_;
  Section section_ = Section::kNone;
  std::map<int, std::string> titles_;
  std::map<int, int> ident_lines_;
  std::set<int> seen_windows_;
  std::set<std::pair<int, int>> seen_gauges_;
  std::size_t placed_ = 0;
};

}  // namespace

std::optional<std::uint32_t> panel_ident(std::string_view text) {
  text = trim(text);
  std::string_view name = text;
  if (name.size() > 6 && iequals(name.substr(0, 6), "IDENT_")) name.remove_prefix(6);
  for (const IdentName &n : kIdentNames)
    if (iequals(name, n.name)) return n.ident;
  std::uint32_t v = 0;
  if (!parse_whole(text, &v) || v == kInvalidIdent) return std::nullopt;
  return v;
}

PanelConfig parse_panel_config(std::string_view text) { return Reader().read(text); }

}  // namespace z480
