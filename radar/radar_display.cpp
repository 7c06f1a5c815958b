#include "radar/radar_display.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "frame/host_names.h"
#include "frame/numeric.h"
#include "frame/services.h"

namespace {

constexpr double kDrawingVolts = 10.0;  // the picture is drawn above this
constexpr std::uint32_t kMostTargets = 100;
constexpr double kTrafficRadiusNm = 144.0;
constexpr double kOwnAircraftFeet = 3.0;

constexpr DrawColor kBlack(255, 0, 0, 0);
constexpr DrawColor kGreen(255, 0, 255, 0);
constexpr DrawColor kYellow(255, 255, 255, 0);
constexpr DrawColor kRed(255, 255, 0, 0);
constexpr DrawColor kWhite(255, 255, 255, 255);
constexpr float kPenWidth = 0.5f;
constexpr char16_t kFontFamily[] = u"Courier New";
constexpr float kFontSize = 3.0f;

constexpr float kSymbolSize = 3.0f;
constexpr float kVelocityLine = 4.0f;
constexpr DrawPoint kTagOffset = {2.0f, -2.25f};
constexpr double kSelectSquared = 9.0;  // within 3 units of the cursor
constexpr const char *kNoSelection = "place cursor over symbol";

DrawColor threat_colour(std::int32_t threat) {
  switch (threat) {
    case kThreatEnginesOff: return kWhite;
    case kThreatAdvisory: return kYellow;
    case kThreatWarning: return kRed;
    default: return kGreen;
  }
}

// A heading the host gives as no number turns the picture by nothing.
double heading_or_north(double h) { return std::isfinite(h) ? h : 0.0; }

void draw_wide(DrawSurface &surface, const char *text, DrawPoint at, const DrawBrush &brush) {
  char16_t wide[kReadoutSize];
  std::int32_t n = widen(text, wide, std::size(wide));
  DrawFont font(kFontFamily, kFontSize, platform::kFontRegular, platform::kUnitPoint);
  surface.draw_text(wide, n, font, at, brush);
}

}  // namespace

void radar_altitude_tag(double relative_feet, char *tag, std::size_t size) {
  double hundreds = relative_feet / 100.0;
  tag[0] = '\0';
  if (!(std::fabs(hundreds) < 100.0)) return;
  if (relative_feet >= 0)
    std::snprintf(tag, size, "+%02d", to_int(std::floor(hundreds + 0.5)));
  else
    std::snprintf(tag, size, "-%02d", to_int(std::floor(-hundreds + 0.5)));
}

DrawPoint radar_screen_point(const TrafficTarget &t, double heading, double w, double range_nm) {
  double a = (t.bearing - heading) / kDegreesPerRadian;
  double scale = w * t.distance / range_nm;
  return {static_cast<float>(std::sin(a) * scale), static_cast<float>(-std::cos(a) * scale)};
}

RadarDisplay::RadarDisplay()
    : draw_token_(draw_library_start()), traffic_(std::make_unique<TrafficSource>()) {}

RadarDisplay::~RadarDisplay() {
  traffic_.reset();
  surface_.reset();
  draw_library_stop(draw_token_);
}

void RadarDisplay::attach_screen(GaugeElement *screen, std::int32_t width, std::int32_t height) {
  detach_screen();
  screen_element_ = screen;
  auto *image = reinterpret_cast<StaticImageElement *>(screen);
  if (screen && image->hdc) surface_.reset(new DrawSurface(image->hdc));
  half_width_ = std::max(width / 2.0f, 1.0f);
  half_height_ = std::max(height / 2.0f, 1.0f);
  const HostImage *picture = screen ? image->image_data.final_image : nullptr;
  if (surface_ && picture && picture->dim.x > 0 && picture->dim.y > 0) {
    float w = half_width_, h = half_height_;
    surface_->scale(picture->dim.x / (2 * w), picture->dim.y / (2 * h));
    surface_->set_smoothing(platform::kSmoothingAntiAlias);
    surface_->set_text_hint(platform::kTextAntiAliasGridFit);
    surface_->translate(w, h);
    DrawPath circle;
    circle.add_ellipse({-w, -h, 2 * w, 2 * h});
    circle.close_figure();
    surface_->set_clip(circle);
  }
  render();
}

void RadarDisplay::detach_screen() {
  screen_element_ = nullptr;
  surface_.reset();
}

double RadarDisplay::set_range(double r) {
  // A range that is no number stays where it was.
  if (r == r) range_nm_ = std::clamp(r, kRadarShortestRange, kRadarLongestRange);
  render();
  return range_nm_;
}

void RadarDisplay::set_cursor(double fx, double fy) {
  cursor_x_ = (fx - 0.5) * 2 * half_width_;
  cursor_y_ = (fy - 0.5) * 2 * half_height_;
}

void RadarDisplay::render() {
  if (!screen_element_ || !surface_) return;
  float w = half_width_, h = half_height_;
  surface_->fill_rect(DrawBrush(kBlack), {-w, -h, 2 * w, 2 * h});
  best_hit_ = -1.0;
  std::snprintf(readout_, sizeof readout_, "%s", kNoSelection);
  if (bus_above(read_var(kVarBusVoltage), kDrawingVolts)) {
    traffic_->refresh(kMostTargets, kTrafficRadiusNm);
    draw_targets();
    DrawPen green(kGreen, kPenWidth);
    DrawBrush label(kGreen);
    surface_->draw_ellipse(green, {-2 * w / 3, -2 * h / 3, 4 * w / 3, 4 * h / 3});
    surface_->draw_ellipse(green, {-w / 3, -h / 3, 2 * w / 3, 2 * h / 3});
    char ring[32];
    std::snprintf(ring, sizeof ring, "%.0f NM", range_nm_ * 2 / 3);
    draw_wide(*surface_, ring, {2 * w / 3 + 1.0f, 1.0f}, label);
    surface_->draw_line(green, {0, -h}, {0, h});
    surface_->draw_line(green, {-w, 0}, {w, 0});
    surface_->draw_line(green, {-w, -h}, {w, h});
    surface_->draw_line(green, {-w, h}, {w, -h});
  }
  // The host takes the new picture.
  screen_element_->image_flags =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(screen_element_->image_flags) &
                                ~kImageOnScreen);
}

void RadarDisplay::draw_targets() {
  double heading = heading_or_north(read_var(kVarPlaneHeading));
  const TrafficTarget *list = traffic_->list();
  for (std::uint32_t i = 0; i < traffic_->count(); ++i) draw_target(list[i], heading);
}

void RadarDisplay::draw_target(const TrafficTarget &t, double heading) {
  if (!(t.slant_range > kOwnAircraftFeet)) return;  // the user's own aircraft
  DrawPoint p = radar_screen_point(t, heading, half_width_, range_nm_);
  if (surface_) draw_symbol(t, p, heading);
  update_readout(t, p.x, p.y);
}

void RadarDisplay::draw_symbol(const TrafficTarget &t, DrawPoint p, double heading) {
  DrawColor colour = threat_colour(t.threat);
  DrawPen pen(colour, kPenWidth);
  DrawBrush brush(colour);
  constexpr float r = kSymbolSize / 2;
  surface_->draw_ellipse(pen, {p.x - r, p.y - r, kSymbolSize, kSymbolSize});
  char tag[8];
  radar_altitude_tag(t.relative_altitude, tag, sizeof tag);
  if (t.ground_speed > 0) {
    double a = (t.track - heading) / kDegreesPerRadian;
    surface_->draw_line(pen, p,
                        {p.x + kVelocityLine * static_cast<float>(std::sin(a)),
                         p.y - kVelocityLine * static_cast<float>(std::cos(a))});
  }
  draw_wide(*surface_, tag, {p.x + kTagOffset.x, p.y + kTagOffset.y}, brush);
}

void RadarDisplay::update_readout(const TrafficTarget &t, double x, double y) {
  double d = (x - cursor_x_) * (x - cursor_x_) + (y - cursor_y_) * (y - cursor_y_);
  if (!(d <= kSelectSquared) || (best_hit_ >= 0 && !(d < best_hit_))) return;
  best_hit_ = d;
  char atc[sizeof t.atc_id + 1] = {};
  std::memcpy(atc, t.atc_id, strnlen(t.atc_id, sizeof t.atc_id));
  std::snprintf(readout_, sizeof readout_,
                "ID: %s ALT: %dft GS: %.0fkt TRK: %.0f\xB0 DST: %.1fnm", atc,
                to_int(std::floor(t.relative_altitude / 100 + 0.5) * 100), t.ground_speed,
                t.track, t.distance);
}
