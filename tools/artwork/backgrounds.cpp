#include "tools/artwork/backgrounds.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "tools/artwork/canvas.h"

namespace art {
namespace {

struct Box {
  double x = 0, y = 0, w = 0, h = 0;

  double right() const { return x + w; }
  double bottom() const { return y + h; }
  bool overlaps(const Box &o) const {
    return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
  }
  bool inside(double width, double height) const {
    return x >= 0 && y >= 0 && right() <= width && bottom() <= height;
  }
  Box grown(double by) const { return {x - by, y - by, w + 2 * by, h + 2 * by}; }
  Box joined(const Box &o) const {
    double l = std::min(x, o.x), t = std::min(y, o.y);
    return {l, t, std::max(right(), o.right()) - l, std::max(bottom(), o.bottom()) - t};
  }
};

enum class Side { kAbove, kBelow, kLeft, kRight };

// A placard by a gauge: its text (lines split at '\n'), on which side of the
// gauge it stands, centred how far along that side (a share of the gauge's
// width or height, so that it follows a resized gauge).
struct Placard {
  const char *gauge;
  const char *parameter;  // null: every placement of the gauge
  const char *text;
  Side side = Side::kAbove;
  double along = 0.5;
};

// A titled frame around gauges of one window, their placards included.
struct Section {
  const char *title;
  std::vector<const char *> gauges;
};

// Only what the gauges' own bitmaps leave unsaid: the switch plates say
// ON/OFF, the lamps ELEC, the engine gauges nothing of their engine.
const Placard kPlacards[] = {
    // overhead: the electrical board
    {"Master_Battery_Switch", nullptr, "BATTERY"},
    {"Switch_Alternator_Left", nullptr, "ALT 1"},
    {"Switch_Alternator_Right", nullptr, "ALT 2"},
    {"Left_Converter_Switch", nullptr, "CONV 1"},
    {"Right_Converter_Switch", nullptr, "CONV 2"},
    {"Elec_Light_Alt_1", nullptr, "ALT 1", Side::kBelow},
    {"Elec_Light_Alt_2", nullptr, "ALT 2", Side::kBelow},
    {"Elec_Light_Conv_1", nullptr, "CONV 1", Side::kBelow},
    {"Elec_Light_Conv_2", nullptr, "CONV 2", Side::kBelow},
    {"Voltmeter_DC", nullptr, "DC BUS", Side::kBelow},
    {"Voltmeter_AC", nullptr, "SELECTED", Side::kBelow},
    {"Voltmeter_Switch", nullptr, "VOLTMETER\nSOURCE", Side::kBelow},
    // overhead: the lights
    {"Landing_Lights_Switch", nullptr, "LANDING"},
    {"Panel_Lights_Button", nullptr, "PANEL"},
    {"Strobe_Lights_Switch", nullptr, "STROBE"},
    {"Beacon_Lights_Switch", nullptr, "BEACON"},
    {"Nav_Lights_Switch", nullptr, "NAV"},
    {"Wing_Lights_Switch", nullptr, "WING"},
    // main panel: which engine each instrument and lamp serves (the lamps
    // of an engine stand in a column under its fire lamp)
    {"Engine_N2", "1", "ENG 1"},
    {"Engine_N2", "2", "ENG 2"},
    {"Fire_Light", "1", "ENG 1"},
    {"Fire_Light", "2", "ENG 2"},
    {"Low_Fuel_Lamp_Left", nullptr, "LOW FUEL L", Side::kRight},
    {"Low_Fuel_Lamp_Right", nullptr, "LOW FUEL R", Side::kLeft},
    {"Fuel_Flow_Left", nullptr, "LEFT"},
    {"Fuel_Flow_Right", nullptr, "RIGHT"},
    {"Radio_Altimeter_Switch", nullptr, "RAD ALT", Side::kBelow},
    {"Marker_Lights", nullptr, "MKR"},
    // throttle quadrant: the levers' own legends hide behind levers pushed
    // up
    {"Throttle_Levers", nullptr, "POWER", Side::kAbove, 0.157},
    {"Throttle_Levers", nullptr, "PROP", Side::kAbove, 0.373},
    {"Throttle_Levers", nullptr, "POWER", Side::kAbove, 0.867},
    {"Pitch_Trim_Wheel_Left", nullptr, "TRIM"},
    {"Pitch_Trim_Wheel_Right", nullptr, "TRIM"},
    // the compass window's two instruments, whose faces carry no name
    {"RMI", nullptr, "RMI"},
    {"Standby_Attitude", nullptr, "STANDBY HORIZON"},
    // the small windows' source switches
    {"ILS_TACAN_Switch", nullptr, "DME\nSOURCE", Side::kBelow},
    {"NAV_GPS_Switch", nullptr, "NAV SOURCE", Side::kBelow},
};

const Section kSections[] = {
    {"ELECTRICAL",
     {"Master_Battery_Switch", "Switch_Alternator_Left", "Switch_Alternator_Right",
      "Left_Converter_Switch", "Right_Converter_Switch", "Elec_Light_Alt_1", "Elec_Light_Alt_2",
      "Elec_Light_Conv_1", "Elec_Light_Conv_2", "Voltmeter_DC", "Voltmeter_AC", "Voltmeter_Switch"}},
    {"LIGHTS",
     {"Landing_Lights_Switch", "Panel_Lights_Button", "Strobe_Lights_Switch", "Beacon_Lights_Switch",
      "Nav_Lights_Switch", "Wing_Lights_Switch"}},
    {"ENGINES",
     {"Torque", "Engine_N2", "Propeller_RPM", "EGT_Oil_Indicator", "Fire_Light",
      "Low_Oil_Press_Light"}},
    {"FUEL",
     {"Fuel_Flow_Left", "Fuel_Flow_Right", "Fuel_Qty_Left", "Fuel_Qty_Right", "Low_Fuel_Lamp_Left",
      "Low_Fuel_Lamp_Right", "Fuel_Consumption_Left", "Fuel_Consumption_Right"}},
    {"AUTOPILOT", {"Autopilot_Lights", "Autopilot_FD_Selector"}},
    {"LANDING GEAR", {"Gear_Lever_Left", "Gear_Lever_Right", "Gear_Lamps"}},
};

constexpr double kPlacardSize = 10;
constexpr double kTitleSize = 11;
constexpr double kLineHeight = 1.2;
constexpr double kPlacardGap = 4;    // between a gauge and its placard
constexpr double kSectionMargin = 6;  // between a section's contents and its frame
constexpr double kScrewInset = 11;
constexpr double kScrewSpacing = 300;

std::vector<std::string> lines_of(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Placed {
  const z480::GaugePlacementConfig *gauge;
  Box box;
};

// Where each gauge of the window draws: a gauge given only a width keeps its
// background bitmap's proportions.
std::vector<Placed> gauge_boxes(const z480::PanelWindowConfig &window, const Context &context) {
  std::vector<Placed> boxes;
  for (const z480::GaugePlacementConfig &g : window.gauges) {
    double w = g.width.value_or(context.own_width(g.gauge));
    const Design *d = design(context.background(g.gauge));
    double h = g.height ? *g.height : d && d->width > 0 ? w * d->height / d->width : w;
    boxes.push_back({&g, {static_cast<double>(g.x), static_cast<double>(g.y), w, h}});
  }
  return boxes;
}

bool matches(const Placard &p, const z480::GaugePlacementConfig &g) {
  return g.gauge == p.gauge && (!p.parameter || g.parameters.value_or("") == p.parameter);
}

Box text_box(Canvas &c, const std::vector<std::string> &lines, double size) {
  double w = 0;
  for (const std::string &l : lines) w = std::max(w, c.text_width(l, size));
  return {0, 0, w, size * kLineHeight * static_cast<double>(lines.size())};
}

Box placard_box(Canvas &c, const Placard &p, const Box &gauge) {
  Box t = text_box(c, lines_of(p.text), kPlacardSize);
  double cx = gauge.x + gauge.w * p.along, cy = gauge.y + gauge.h * p.along;
  switch (p.side) {
    case Side::kAbove: t.x = cx - t.w / 2, t.y = gauge.y - kPlacardGap - t.h; break;
    case Side::kBelow: t.x = cx - t.w / 2, t.y = gauge.bottom() + kPlacardGap; break;
    case Side::kLeft: t.x = gauge.x - kPlacardGap - t.w, t.y = cy - t.h / 2; break;
    case Side::kRight: t.x = gauge.right() + kPlacardGap, t.y = cy - t.h / 2; break;
  }
  return t;
}

void letter(Canvas &c, const std::string &text, const Box &box, double size) {
  std::vector<std::string> lines = lines_of(text);
  double line = size * kLineHeight;
  for (std::size_t i = 0; i < lines.size(); ++i)
    c.text(box.x + box.w / 2, box.y + line * (static_cast<double>(i) + 0.5), lines[i], size, kWhite);
}

// The paint: a faint light from above, a bevelled edge, screws along the
// edges wherever no gauge covers them.
void paint_plate(Canvas &c, const Rgb &paint, const std::vector<Placed> &gauges) {
  cairo_t *cr = c.cr();
  cairo_pattern_t *p = cairo_pattern_create_linear(0, 0, 0, c.height());
  Rgb top = mix(paint, kWhite, 0.05), bottom = mix(paint, kBlack, 0.12);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_rectangle(cr, 0, 0, c.width(), c.height());
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  double w = c.width(), h = c.height();
  c.line(0, 1, w, 1, 2, mix(paint, kWhite, 0.18));
  c.line(1, 0, 1, h, 2, mix(paint, kWhite, 0.12));
  c.line(0, h - 1, w, h - 1, 2, mix(paint, kBlack, 0.45));
  c.line(w - 1, 0, w - 1, h, 2, mix(paint, kBlack, 0.45));
  if (w < 4 * kScrewInset || h < 4 * kScrewInset) return;
  auto along = [](double length) {
    int n = std::max(1, static_cast<int>(std::round((length - 2 * kScrewInset) / kScrewSpacing)));
    std::vector<double> at;
    for (int k = 0; k <= n; ++k) at.push_back(kScrewInset + (length - 2 * kScrewInset) * k / n);
    return at;
  };
  std::vector<std::pair<double, double>> screws;
  for (double x : along(w)) screws.insert(screws.end(), {{x, kScrewInset}, {x, h - kScrewInset}});
  for (double y : along(h)) screws.insert(screws.end(), {{kScrewInset, y}, {w - kScrewInset, y}});
  for (auto [x, y] : screws) {
    Box head{x - 5, y - 5, 10, 10};
    if (std::none_of(gauges.begin(), gauges.end(), [&](const Placed &g) { return g.box.overlaps(head); }))
      c.screw(x, y, 3.5);
  }
}

// A thin rule around the section with its title breaking the top edge.
void frame(Canvas &c, const Box &f, const std::string &title, const Box &title_box, const Rgb &paint) {
  Rgb rule = mix(kWhite, paint, 0.35);
  cairo_t *cr = c.cr();
  constexpr double pi = std::numbers::pi;
  double r = 5, gap = 5;
  cairo_new_path(cr);
  cairo_move_to(cr, title_box.right() + gap, f.y);
  cairo_arc(cr, f.right() - r, f.y + r, r, -pi / 2, 0);
  cairo_arc(cr, f.right() - r, f.bottom() - r, r, 0, pi / 2);
  cairo_arc(cr, f.x + r, f.bottom() - r, r, pi / 2, pi);
  cairo_arc(cr, f.x + r, f.y + r, r, pi, 3 * pi / 2);
  cairo_line_to(cr, title_box.x - gap, f.y);
  cairo_set_source_rgb(cr, rule.r, rule.g, rule.b);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  letter(c, title, title_box, kTitleSize);
}

std::string fault(const z480::PanelWindowConfig &window, const std::string &what) {
  return "panel window " + window.title + " (line " + std::to_string(window.line) + "): " + what;
}

[[noreturn]] void refuse(const z480::PanelWindowConfig &window, const std::string &what) {
  throw std::runtime_error(fault(window, what));
}

// A placard must lie whole in its window and clear of every gauge, which
// would hide it; a section frame clear of every gauge but its own.
void check(const z480::PanelWindowConfig &window, const std::vector<Placed> &gauges,
           const std::string &what, const Box &box, std::vector<std::string> &faults,
           const std::vector<std::string> &members = {}) {
  if (!box.inside(window.width, window.height)) faults.push_back(fault(window, what + " leaves the window"));
  for (const Placed &g : gauges)
    if (box.overlaps(g.box) &&
        std::find(members.begin(), members.end(), g.gauge->gauge) == members.end())
      faults.push_back(fault(window, what + " lies under " + g.gauge->gauge + " (line " +
                                         std::to_string(g.gauge->line) + ")"));
}

// Paints a window's bitmap on a canvas of the window's own size (one pixel per
// window unit). Returns what is out of place: a placard or section frame
// leaving the window or lying under a gauge.
std::vector<std::string> paint_background(Canvas &c, const z480::PanelWindowConfig &window,
                                          const Context &context) {
  std::vector<std::string> faults;
  std::uint32_t rgb = window.background_color.value_or(0x3a3d40);
  Rgb paint{((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0};
  std::vector<Placed> gauges = gauge_boxes(window, context);
  paint_plate(c, paint, gauges);

  std::map<std::string, Box> reach;  // each gauge with its placards
  std::vector<std::pair<std::string, Box>> placards;  // gauge, placard
  auto extend = [&](const std::string &gauge, const Box &box) {
    auto [it, fresh] = reach.emplace(gauge, box);
    if (!fresh) it->second = it->second.joined(box);
  };
  for (const Placed &g : gauges) extend(g.gauge->gauge, g.box);
  for (const Placed &g : gauges)
    for (const Placard &p : kPlacards)
      if (matches(p, *g.gauge)) {
        Box box = placard_box(c, p, g.box);
        check(window, gauges, std::string("the placard ") + p.text + " of " + p.gauge, box, faults);
        letter(c, p.text, box, kPlacardSize);
        placards.emplace_back(p.gauge, box);
        extend(g.gauge->gauge, box);
      }

  std::vector<Box> frames;
  for (const Section &s : kSections) {
    std::optional<Box> inner;
    std::vector<std::string> members(s.gauges.begin(), s.gauges.end());
    for (const std::string &m : members)
      if (auto it = reach.find(m); it != reach.end()) inner = inner ? inner->joined(it->second) : it->second;
    if (!inner) continue;
    Box title = text_box(c, {s.title}, kTitleSize);
    Box f = inner->grown(kSectionMargin);
    f.y -= title.h / 2;
    f.h += title.h / 2;
    title.x = f.x + (f.w - title.w) / 2;
    title.y = f.y - title.h / 2;
    std::string what = std::string("the section ") + s.title;
    check(window, gauges, what, f.joined(title), faults, members);
    for (const Box &other : frames)
      if (other.overlaps(f)) faults.push_back(fault(window, what + " overlaps another section"));
    for (const auto &[gauge, box] : placards)
      if (box.overlaps(f) && std::find(members.begin(), members.end(), gauge) == members.end())
        faults.push_back(fault(window, what + " crosses the placard of " + gauge));
    frames.push_back(f);
    frame(c, f, s.title, title, paint);
  }
  return faults;
}

}  // namespace

void write_backgrounds(const z480::PanelConfig &config, const Context &context,
                       const std::filesystem::path &folder) {
  std::string faults;
  for (const z480::PanelWindowConfig &w : config.windows) {
    if (w.file.empty()) continue;
    std::filesystem::path name(w.file);
    if (name.has_parent_path() || name.filename() != name)
      refuse(w, "the background " + w.file + " is no bare file name");
    if (w.width <= 0 || w.height <= 0) refuse(w, "a background needs the window's size_mm");
    Canvas canvas(w.width, w.height, kPanel);
    for (const std::string &f : paint_background(canvas, w, context)) faults += "\n  " + f;
    write_file(folder / name, z480::bmp_file(z480::encode_dib(canvas.pixels())));
  }
  // The bitmaps stay written, to be looked at; the folder stays incomplete.
  if (!faults.empty()) throw std::runtime_error("placards out of place:" + faults);
}

}  // namespace art
