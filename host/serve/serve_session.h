// The live panel behind `z480-panel serve`: the module loaded afresh, the
// panel configuration placed, the systems model and the clock on, a
// scenario played in from its script, and the aircraft that script starts
// (JSBSim, host/script/flight_commands.h) under the pilot's hands.
// The pages draw the gauges themselves from the frame's snapshot; the
// session draws a gauge or a window only when asked for its picture. Not
// thread-safe: the server calls it from one thread only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/core/mouse.h"
#include "host/script/flight_commands.h"
#include "host/script/script.h"
#include "host/serve/serve_request.h"

namespace z480 {

class Renderer;

struct Scenario {
  const char *name;   // as requests name it
  const char *title;  // as the page shows it
  // Its SCENARIO scripts in the host's resources, in order; they start the
  // flight.
  std::vector<int> scripts;
  std::optional<double> power;  // both power levers, 0 to 1; none: as the start left them
};

// What the strip shows of the flight: the instruments' readings and the
// pilot's hands on the controls.
struct FlightReadout {
  double pitch = 0, bank = 0;  // degrees, nose up and right wing down positive
  double speed = 0;            // knots indicated
  double altitude = 0;         // feet
  double heading = 0;          // degrees
  double vertical_speed = 0;   // feet a minute
  double power = 0;            // the left power lever, 0 to 1
  PilotControls hands;
  bool flying = false;         // false: no flight model runs (it failed to start)
  bool stall_warning = false;
};
// Cold and dark, ready for take-off, on approach at 3000 ft.
const std::vector<Scenario> &scenarios();

// One gauge as the page lays it out.
struct GaugeBox {
  std::string alias;
  std::uint32_t window = 0;
  int x = 0, y = 0, width = 0, height = 0;  // in its window's units
  int pixels_x = 0, pixels_y = 0;           // its background, in gauge pixels
  double scale_x = 1, scale_y = 1;          // window units per gauge pixel, as the renderer draws it
  std::vector<MouseTarget> targets;         // its click rectangles
};

// What a mouse request did: a rectangle took it; it reached none (or the
// gauge's window is closed); the panel has no such gauge; the point lies
// outside the gauge.
enum class MouseResult { kTaken, kMissed, kNoGauge, kOutside };

// A bitmap as a PNG file's bytes (a window's background, sent as an image).
std::string png_bytes(const Pixels &pixels);

class PanelSession {
 public:
  // The module at module_path and the panel of panel_text (its background
  // bitmaps read from the panel folders), started in the named scenario; null
  // with a reason when the module cannot be loaded.
  static std::unique_ptr<PanelSession> open(const std::string &module_path, std::string panel_text,
                                            const std::string &scenario, std::ostream &out,
                                            std::string *why,
                                            std::vector<std::filesystem::path> folders = {});
  ~PanelSession();

  // Starts afresh: module reloaded, panel placed, the scenario's script
  // played. False (changing nothing) for an unknown scenario.
  bool reset(const std::string &scenario, std::string *why);
  // Runs a script of the panel language against the live host (the `serve`
  // command's own script); its report goes to the session's output.
  bool run_script(const std::string &file, const std::string &source);

  // One frame of the host, and so of the flight model.
  void frame();
  // The pictures the host's renderer draws from the last frame, as PNG
  // files: a gauge at its own pixels (nothing for an unknown one or one
  // whose window is closed), a window at its own size (nothing, and why, for
  // an unknown or closed one).
  std::optional<std::string> gauge_png(const std::string &alias);
  std::optional<std::string> window_png(std::uint32_t ident, std::string *why);
  // Every bitmap of the module, once: a count, then for each its id, the
  // length of its PNG and the PNG, the numbers 32-bit little-endian words.
  const std::string &bitmaps();

  MouseResult mouse(const MouseRequest &r);
  // The cursor and tooltip where the mouse rests (after a move event there):
  // the tooltip record's text, else the text of the help id there; nothing
  // for an unknown gauge or a point outside it.
  struct Hover {
    std::int32_t cursor = -1;
    std::string tooltip;
    std::int32_t help_id = 0;
  };
  std::optional<Hover> hover(const std::string &gauge, int x, int y);
  void controls(const ControlRequest &r);
  // False for a window the panel does not have.
  bool set_window(const WindowRequest &r);

  Host &host() { return run_->host; }
  FlightReadout flight();
  double power() { return flight().power; }
  const std::string &scenario() const { return scenario_; }
  // Bumped at every reset, so that pages lay the panel out again.
  std::uint64_t generation() const { return generation_; }
  const std::vector<GaugeBox> &gauges() const { return gauges_; }
  // Every sound started since the session opened, in order.
  const std::vector<SoundStart> &sounds() const { return sounds_; }
  // The WAVE resource's bytes, or nothing.
  std::optional<std::string> wave(std::int32_t id) const;

 private:
  PanelSession(std::string module_path, std::string panel_text,
               std::vector<std::filesystem::path> folders, std::ostream &out);
  bool play(const std::string &file, const std::string &source);
  void lay_out();
  GaugeBox *box(const std::string &alias);
  Instance *shown(const std::string &alias);

  std::string module_path_;
  std::string panel_text_;
  std::vector<std::filesystem::path> folders_;
  std::ostream &out_;
  std::unique_ptr<Module> module_;
  std::unique_ptr<ScriptRun> run_;
  std::unique_ptr<Renderer> renderer_;
  std::string scenario_;
  std::uint64_t generation_ = 0;
  std::vector<GaugeBox> gauges_;
  std::vector<SoundStart> sounds_;
  std::string bitmaps_;
};

}  // namespace z480
