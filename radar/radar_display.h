// One placed radar's screen: the traffic around the user's aircraft drawn
// heading up out to the selected range, with range rings, a cross, the
// diagonals and a readout of the symbol under the mouse.
#pragma once

#include <cstdint>
#include <memory>

#include "frame/panel.h"
#include "radar/draw.h"
#include "radar/traffic.h"

inline constexpr double kRadarShortestRange = 1.875;  // nautical miles
inline constexpr double kRadarLongestRange = 120.0;
inline constexpr std::size_t kReadoutSize = 81;

// Where a target lies on the screen, in drawing units from the centre
// (x right, y down), with the screen's radius w standing for range_nm.
DrawPoint radar_screen_point(const TrafficTarget &target, double heading, double w,
                             double range_nm);

// A target's relative-altitude tag: hundreds of feet to the nearest
// hundred, signed ("+20", "-00" for 40 ft below, "+00" level), empty from
// 10000 ft either way or for no number. Size 5 holds every tag.
void radar_altitude_tag(double relative_feet, char *tag, std::size_t size);

class RadarDisplay {
 public:
  RadarDisplay();
  virtual ~RadarDisplay();
  RadarDisplay(const RadarDisplay &) = delete;
  RadarDisplay &operator=(const RadarDisplay &) = delete;

  // Binds the screen element's device context and draws; width and height
  // give the drawing frame.
  void attach_screen(GaugeElement *screen, std::int32_t width, std::int32_t height);
  void detach_screen();
  // Keeps r within the shortest and longest ranges and redraws.
  double set_range(double r);
  void range_up() { set_range(range_nm_ * 2); }
  void range_down() { set_range(range_nm_ / 2); }
  // The mouse as fractions of the screen's width and height.
  void set_cursor(double fx, double fy);

  // Refreshes the traffic (on a live bus) and draws the whole screen.
  void render();
  // One target, at heading H (degrees): its symbol, velocity line and
  // relative-altitude tag, then the readout if it lies under the cursor.
  void draw_target(const TrafficTarget &target, double heading);
  // Takes the target's text when (x, y) lies within 3 units of the cursor
  // and nearer than any symbol found before in this drawing.
  void update_readout(const TrafficTarget &target, double x, double y);

  double range() const { return range_nm_; }
  const char *readout() const { return readout_; }
  const TrafficSource &traffic() const { return *traffic_; }

 private:
  void draw_targets();
  void draw_symbol(const TrafficTarget &target, DrawPoint at, double heading);

  std::unique_ptr<DrawSurface> surface_;
  std::uintptr_t draw_token_ = 0;
  double range_nm_ = 15.0;
  GaugeElement *screen_element_ = nullptr;
  float half_width_ = 50.0f, half_height_ = 50.0f;
  double cursor_x_ = 0, cursor_y_ = 0;
  double best_hit_ = -1.0;
  std::unique_ptr<TrafficSource> traffic_;
  char readout_[kReadoutSize] = {};
};
