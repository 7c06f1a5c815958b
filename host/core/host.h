// The substitute host: what the flight simulator's panel system does for a
// gauge module. It fills ImportTable with its panel services, keeps the host
// variables, records key events, shows and hides panel windows, places gauge
// instances, runs frames, routes clicks and answers help and tooltip queries.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/panel.h"
#include "host/core/audio.h"
#include "host/core/instance.h"
#include "host/core/module.h"
#include "host/core/traffic.h"
#include "host/core/x87_state.h"
#include "host/panel/panel_config.h"

namespace z480 {

struct KeyEvent {
  std::int32_t id;
  std::uint32_t value;
};

// One line of the host's timeline: key events and sound starts, in the order
// they happened.
struct LogEntry {
  enum Kind { kEvent, kSound } kind;
  std::int32_t id;      // key event id, or WAVE id (0 when unknown)
  std::uint32_t value;  // event value; 0 for a sound
  std::string gauge;    // a sound's gauge alias
  double seconds = 0;   // host time when it was sent or started
  std::size_t start = 0;  // a sound's place in the audio's starts
};

// While a failure of an element's failure list is on, the host stops
// updating the element (no variable read, no callback) and freezes it where
// it was, shows it at zero, does not draw it, or draws it covered.
inline constexpr std::int32_t kLastFailureKey = kFailSystemElectricalAvionics;

// Thrown by frame() and click() once the work allowed by limit_work is done.
struct WorkLimitReached : std::runtime_error {
  WorkLimitReached() : std::runtime_error("the host's work limit is reached") {}
};

// The seven routines of a gauge header, in the order of their slots.
enum Routine : int { kQuery, kInstall, kInitialize, kUpdate, kGenerate, kDraw, kKill };

class Host {
 public:
  static constexpr int kFramesPerSecond = 18;

  // Fills the module's ImportTable and runs its start routine. One host at a
  // time drives the services (the real host has one panel thread too).
  explicit Host(Module &module);
  // Removes every instance and runs the module's stop routine.
  ~Host();
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  Module &module() { return module_; }
  // The sound layer's host side: main window, audio clock, sound log.
  Audio &audio() { return *audio_; }

  // Host variables by token; unset variables read 0.
  double var(std::int32_t token) const;
  void set_var(std::int32_t token, double value);
  // Aircraft variables answered to aircraft_varget (index ignored).
  void set_aircraft_var(std::int32_t var, std::int32_t units, double value);
  double aircraft_var(std::int32_t var, std::int32_t units) const;

  // Every key event the module or a mouse rectangle sent, in order.
  const std::vector<KeyEvent> &events() const { return events_; }
  void forget_events() { events_.clear(); }
  // Reactions to key events (the systems model). The real host applies an
  // event before the next update: here before the next instance's update in
  // the frame, or at the start of the next frame.
  void on_key_event(std::function<void(const KeyEvent &)> reaction);
  // Work done at the end of every frame (clocks, models).
  void on_frame(std::function<void()> work);
  void send_key_event(std::int32_t id, std::uint32_t value);
  // An event the simulation raises inside itself (its own autopilot moving
  // a servo): every reaction takes it at once, and it is no module's event,
  // so neither the event list nor the log shows it.
  void raise_key_event(std::int32_t id, std::uint32_t value);

  // Key events and sound starts in one timeline; take_new_log gives what was
  // added since its previous call.
  const std::vector<LogEntry> &log() const { return log_; }
  std::vector<LogEntry> take_new_log();
  // Gives the sounds among entries the names the audio has for them now
  // (Audio::when_named says when they are final).
  void name_sounds(std::vector<LogEntry> &entries) const;

  // Failures the host has on (keys 1 to kLastFailureKey).
  void set_failure(std::int32_t key, bool on);
  bool failed(std::int32_t key) const { return failures_.count(key) != 0; }
  // The action of the first record of the element's failure list whose key
  // is failed and that has one.
  FailureAction failure_action(const GaugeElement &element) const;

  // Panel window visibility. The instances of a window connect (service
  // 14) when it is shown and disconnect (15) when it is hidden, and only
  // connected instances update. A change asked for from inside a module
  // callback takes effect when the callback has returned.
  bool window_shown(std::uint32_t ident) const { return shown_windows_.count(ident) != 0; }
  void set_window(std::uint32_t ident, bool shown);
  void toggle_window(std::uint32_t ident);
  // What the module asks of windows (its toggle service, the panel-window
  // key events) goes to the router instead of changing the shown windows,
  // where someone else decides (the browser panel, whose every page has
  // windows of its own). An empty router gives the host the say again.
  enum class WindowChange { kToggle, kOpen, kClose };
  void route_windows(std::function<void(std::uint32_t ident, WindowChange change)> router) {
    window_router_ = std::move(router);
  }
  // A change the module asks for: to the router, or done.
  void asked_window(std::uint32_t ident, WindowChange change);

  // The other aircraft, offered as "ITrafficInfo" until a script withdraws
  // the interface; they fly on with every frame.
  HostTraffic &traffic() { return *traffic_; }
  // The windows of the loaded panel configuration (gauges left out).
  const std::vector<PanelWindowConfig> &panel_windows() const { return panel_windows_; }
  // Removes every instance placed in a window and forgets the windows; then
  // shows the new windows that are visible at load.
  void set_panel_windows(std::vector<PanelWindowConfig> windows);

  // What query_host_interface answers for a name (null when unset).
  void set_interface(const std::string &name, void *object);
  void *host_interface(const std::string &name) const;

  // Places an instance of a gauge: copies its records, then sends services 2,
  // 14 (when its window is shown, or it has none) and 3. Returns null with a
  // reason on failure.
  Instance *place(const std::string &gauge, const std::string &alias,
                  std::optional<std::string> parameters, std::string *error,
                  std::optional<Placement> where = std::nullopt);
  // Sends 15 (when connected) then 12 and forgets the instance.
  bool remove(const std::string &alias);
  Instance *instance(const std::string &alias);
  const std::vector<std::unique_ptr<Instance>> &instances() const { return instances_; }
  void service(Instance &inst, std::int32_t code, ServiceData extra);

  // One frame: for each connected instance in placement order, the key
  // events sent so far reach their reactions, then service 6 and the
  // instance's elements in drawing order;
  // then the clock (and the audio clock) moves on by one frame.
  void frame();
  std::uint64_t frame_count() const { return frames_; }
  // Allows only so many more frames and clicks in all (for fuzzing, where a
  // script may ask for millions); past it they throw WorkLimitReached.
  void limit_work(std::uint64_t frames_and_clicks) { work_left_ = frames_and_clicks; }
  double seconds() const { return static_cast<double>(frames_) / kFramesPerSecond; }

  // A mouse event at a background pixel of an instance. Returns whether a
  // rectangle took it.
  bool click(Instance &inst, PixPoint point, std::uint32_t flags);
  std::int32_t help_id(Instance &inst, PixPoint point);
  // The help id of the tooltip record of the innermost parent holding the
  // point that has one (0 for none, or a record with a format string).
  std::int32_t tooltip_help_id(Instance &inst, PixPoint point);
  // The cursor of the rectangle a mouse event at the point would reach
  // (kCursorNone where there is none).
  std::int32_t cursor(Instance &inst, PixPoint point);
  std::string tooltip(Instance &inst, PixPoint point);

  // The x87 state every host of this process runs the module in (native
  // unless set; the 32-bit build only).
  static void set_x87_mode(X87Mode mode) { x87_mode() = mode; }

  // The lookup the services table answers with (also used for tooltips).
  void lookup(ModuleVar *var) const;

  // The element-list services the header routines call. An instance's
  // routine must hand back its own root: the host's copy, or the module's
  // record it was copied from. The update routine updates the elements
  // (once a call); anything else reaching the services is recorded as a
  // fault of the module.
  void element_list(Routine routine, GaugeElement *root);
  const std::vector<std::string> &routine_faults() const { return routine_faults_; }

 private:
  // Counts calls into the module; window changes wait until none is running.
  class ModuleCall {
   public:
    // The outermost call puts the module in its floating-point state.
    explicit ModuleCall(Host &host) : host_(host) {
      if (host_.module_calls_++ == 0) guest_.emplace(x87_mode());
    }
    ~ModuleCall();
    ModuleCall(const ModuleCall &) = delete;
    ModuleCall &operator=(const ModuleCall &) = delete;

   private:
    Host &host_;
    std::optional<X87Guest> guest_;
  };

  static X87Mode &x87_mode() {
    static X87Mode mode = X87Mode::kNative;
    return mode;
  }
  void evaluate(Instance &inst);
  // Calls the instance's header routine, when it has one; true when the
  // routine handed the host the instance's own root.
  bool call_routine(Instance &inst, Routine routine, void *resources = nullptr);
  void routine_fault(const std::string &what);
  void evaluate_failed(GaugeElement *e, ElementView &v, FailureAction action);
  void apply_pending_events();
  // Connects and disconnects instances until they match their windows.
  void settle_windows();

  Module &module_;
  std::unique_ptr<Audio> audio_;
  std::unique_ptr<HostTraffic> traffic_;
  PanelServices services_{};
  std::map<std::int32_t, double> vars_;
  std::map<std::pair<std::int32_t, std::int32_t>, double> aircraft_vars_;
  std::vector<KeyEvent> events_;
  std::vector<LogEntry> log_;
  std::size_t log_taken_ = 0;
  std::set<std::int32_t> failures_;
  std::vector<KeyEvent> pending_;
  std::vector<std::function<void(const KeyEvent &)>> reactions_;
  std::vector<std::function<void()>> frame_work_;
  std::set<std::uint32_t> shown_windows_;
  std::vector<PanelWindowConfig> panel_windows_;
  int module_calls_ = 0;
  bool settling_ = false;
  bool windows_unsettled_ = false;  // a window or a placement changed
  std::map<std::string, void *> interfaces_;
  std::vector<std::unique_ptr<Instance>> instances_;
  std::uint64_t frames_ = 0;
  Instance *routine_instance_ = nullptr;  // whose routine runs
  bool routine_called_ = false;           // it called an element-list service
  bool routine_reached_ = false;          // with its own root
  bool routine_updated_ = false;          // and updated its elements
  std::vector<std::string> routine_faults_;
  std::optional<std::uint64_t> work_left_;
  void spend_work();
  std::function<void(std::uint32_t, WindowChange)> window_router_;
};

}  // namespace z480
