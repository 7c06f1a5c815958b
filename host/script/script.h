// The panel script language: a line-based way to place gauges, set host
// variables, run frames, click, and check what the host took.
//
//   place GAUGE [as ALIAS] [param "TEXT"]     remove ALIAS
//   service ALIAS CODE [EXTRA]                set TOKEN VALUE
//   frame [N]                                 window IDENT shown|hidden
//   click ALIAS X Y [left|right|drag|move|repeat|FLAGS] [times N]
//   expect events ID[:VALUE] ... | none
//   expect ALIAS ELEM [FIELD] = VALUE [~ TOL]
//   expect ALIAS cursor X Y = N               (the cursor of the rectangle a
//                                             mouse event there reaches; -1 none)
//   expect window IDENT shown|hidden          expect token TOKEN = VALUE [~ TOL]
//   expect help ALIAS X Y [tooltip] = ID      expect tooltip ALIAS X Y "TEXT"
//
// A TOKEN is a host variable's number or its name in frame/host_names.h
// without kVar (`set IndicatedAirspeed 150`); an event ID a number or its
// name without k (`expect events EventBatteryMasterToggle:0`).
//
// `expect help` gives the help id of the innermost parent rectangle holding
// the point that has one; with `tooltip`, the help id of the tooltip record
// of the innermost parent that has one (0 when that record gives a format
// string instead).
//
//   expect log event ID[:VALUE] | sound ID ... | none
//                     key events and sound starts in one timeline, exactly
//                     and in order, since the previous `expect log` (which
//                     keeps its own place: `expect events` and `expect
//                     sounds` still see the same entries)
//   fail KEY on|off   the host's failure KEY (1 to 21). An element whose
//                     failure list names a failed key with an action stops
//                     updating (no variable read, no callback): freeze (1)
//                     keeps what it showed, zero (2) shows the value 0, no
//                     draw (3) hides it, cover (4) draws it covered; the
//                     first such record of the list decides
//
//   panel FILE        places a panel configuration (host/panel/panel_config.h),
//                     read relative to the script (`panel default`: the
//                     aircraft's own panel/panel.cfg, built into the host),
//                     replacing the panel
//                     placed before; its windows' background bitmaps
//                     (file=) are read from its folder, then from the
//                     build's panel folder (host/panel/panel_background.h); damaged lines and gauges that cannot be
//                     placed are reported as warnings and skipped. Its
//                     gauges are named after the gauge, a repeated gauge
//                     GAUGE:2, GAUGE:3, ... A gauge connects (service 14)
//                     when its window shows and disconnects (15) when it
//                     hides, and only connected gauges update; gauges
//                     placed with `place` belong to no window and stay
//                     connected.
//   model on|off      the host's systems model (host/model/systems_model.h) applies
//                     key events to host variables (radios, electrics, gear,
//                     flaps, trim, levers, engine start, decision height,
//                     autopilot modes, reference bars, and pitch, bank and
//                     trim on the autopilot's servo commands) before the next
//                     gauge updates, and moves what moves by itself (gear
//                     legs, flaps, spooling engines, the decision-height
//                     lamp, the glideslope capture) every frame; off at the
//                     start of every script
//   flight on|off     the aircraft flown by JSBSim (host/model/flight_dynamics.h)
//                     with every frame, writing what the instruments read,
//                     from the start set last; off at the start of every script
//   flight init runway [heading DEG] [east NM] [north NM] [running]
//   flight init air FEET KNOTS [heading DEG] [east NM] [north NM] [gear down]
//                     starts the flight anew (and switches it on): on the
//                     runway's threshold, the engines running if asked, or
//                     trimmed level in the air with the engines running
//   flight stick ELEVATOR AILERON [RUDDER]
//                     the pilot's hands, -1 to 1: push, roll right, yaw right
//   flight hold [pitch DEG] [bank DEG] [heading DEG] | off
//                     a pilot's steady hands holding a pitch (nose up), a
//                     bank (right) and on the ground a heading, until off
//                     or the next `flight stick`
//   expect flight stall-warning|alpha|thrust|ground-speed|pitch|radio-height|
//                 vertical-speed|on-ground = VALUE [~ TOL]
//                     the stall warning (1 sounding), the angle of attack,
//                     both propellers' thrust (lb), the ground speed (kt),
//                     the pitch (degrees up), the wheels' height (ft), the
//                     climb (ft/min), the wheels on the ground (1)
//                     (host/script/flight_commands.cpp has the details)
//   wait until WHAT <|> VALUE [within SECONDS]
//                     runs frames until one of those quantities or a host
//                     variable passes the value; fails after SECONDS (600)
//
// Time (a frame is 1/18 s of simulated time):
//   clock on|off      while on, every frame moves the host's clock tokens on:
//                     604 the simulation time and 557 the time of day (back to
//                     0 at midnight) by 1/18 s, 1 the tick counter by one (a
//                     32-bit count); off at the start of every script
//   wait SECONDS      runs the frames of that time (rounded to whole frames)
//   ramp TOKEN VALUE SECONDS
//                     runs the frames of that time, moving the host variable
//                     in equal steps from where it stands to VALUE, which the
//                     last frame draws; 0 seconds sets it with no frame
//
// ELEM is @BITMAP (the first element with that bitmap id), @BITMAP:K (the
// K-th) or #N (the N-th in drawing order, from 1). FIELD is value (default),
// x, y, angle, needle, image, shown, failure (the action in force, 0 none),
// flags, bitmap or color, compared as numbers; position or pivot (the
// element's place and its turning point in its own image), compared with
// two whole numbers X Y; or text or font, compared with a quoted text. Numbers are decimal
// or 0x hex, and nan, inf, -inf; counts, element numbers, tokens, idents,
// flags, ids and event values are whole and must fit their host records.
// Without ~ TOL a value must match but for rounding in the last places.
// `expect events` checks the key events sent since the previous one, exactly
// and in order, then forgets them. '#' not followed by a digit starts a comment.
//
// Sound (the host's audio clock runs with the frames, 18 a second; a sound
// plays for its length in that time, and a buffer that still plays does not
// start again, so two clicks of one switch within its click's 87 ms give one
// sound):
//   expect sounds ID ... | none   WAVE ids of the sounds started since the
//                                 previous `expect sounds`, in order
//   sound fail                    the next sound-layer call that can fail does
//                                 (the module then falls silent until unloaded)
//   sound window CLASS | none     the class of the host's main window
//                                 (FS98MAIN at start; none: no main window)
//   sound program NAME            the program file name the module sees
//                                 (it picks the window class from it)
// The Windows build's host does not hear the module's sounds (DirectSound
// plays them inside the module, in real time): there `expect sounds`, the
// sound entries of `expect log`, `sound fail` and `sound program` report
// an error.
//
// Traffic (the host offers its traffic interface from the start; aircraft
// fly on at their track, speed and vertical speed with every frame):
//   traffic add ID LAT LON ALT [track T] [speed KT] [vs FPM] [engines on|off]
//               [atc "TEXT"]     an aircraft (degrees, feet), replacing one
//                                with the same id
//   traffic move ID LAT LON ALT [the options of add]
//                                a new position; options not named stay
//   traffic remove ID            traffic reduced on|off
//   traffic none                 the host offers no traffic interface
//                                (to displays created from then on)
//   traffic user LAT LON ALT [heading H]
//                                the user's aircraft (its heading is token 86)
//   traffic fly on|off           the airport's traffic flies about Heathrow
//                                and the user's aircraft every frame
//                                (host/model/traffic_pattern.h), or is taken
//                                out again
//
// Radio navigation (host/model/radio_navigation.h: the receivers work from
// the aircraft's position every frame while a flight flies or a position
// is set, writing what the navigation instruments read):
//   nav at LAT LON FEET [heading DEG]
//                     the aircraft stands there (feet above sea level; the
//                     heading is token 84), and is the traffic's user
//                     aircraft, until `nav off`
//   nav off           the receivers stop; their variables stay as they are
//
// Pixels (an element whose image flags ask for a DIB section, such as the
// radar's screen, draws into a buffer of its bitmap's size):
//   snapshot ALIAS ELEM FILE.png  writes the element's pixels (a name ending
//                                 in .bmp: a 24-bit BMP file instead)
//   expect pixel ALIAS ELEM X Y = #RRGGBB [~ TOL]
//                                 one pixel; TOL: the largest difference in
//                                 each of red, green and blue
//   expect pixel ALIAS ELEM any|no = #RRGGBB [~ TOL]
//                                 some pixel has that colour, or none has
//
// Drawing (host/render/render.h: from what the last frame recorded, never calling
// an element callback):
//   render FILE.png [window IDENT]   the gauges of that panel window at their
//                                    places over its background bitmap
//                                    (or colour) (IDENT a number or a name such as
//                                    MAIN_PANEL; a closed window is an
//                                    error); without a window every placed
//                                    gauge, in rows at its default size
//   expect picture FILE.png size = W H
//   expect picture FILE.png X Y = #RRGGBB [~ TOL]
//                                    a PNG file's size, or one pixel of it
// A relative FILE (of render, snapshot and expect picture) lies in out/, or
// in the directory --out names, where the run also writes its report: the
// pictures drawn before a `phase` show under it there
// (host/script/flight_report.h). A picture is no check: a script that only
// draws still checks nothing.
//
// Commands live in a table; other parts of the host add their own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/host.h"
#include "host/util/files.h"

namespace z480 {

struct Token {
  std::string text;
  bool quoted = false;
};

struct ScriptLine {
  std::string file;
  int number = 0;
  std::vector<Token> tokens;
};

// A syntax error: the message says what was expected.
struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A command that cannot be carried out at run time (no instance of that
// alias, ...): reported with its line, counted, and the script goes on.
struct CommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The text with control characters, stray bytes and backslashes escaped
// (\xNN, \\), for echoing what a script or file name holds. A word (a name,
// a token) longer than kMaxEchoedWord characters is cut there, saying how
// much was left out.
inline constexpr std::size_t kMaxEchoedWord = 200;
std::string printable(const std::string &text);

// Reads a command's arguments in order.
class Args {
 public:
  explicit Args(const ScriptLine &line, std::size_t first = 1) : line_(line), at_(first) {}
  bool more() const { return at_ < line_.tokens.size(); }
  const Token &peek() const;
  std::string word(const char *what);
  std::string text(const char *what);  // a quoted text
  double number(const char *what);     // decimal, 0x hex, nan, inf, -inf
  std::int64_t integer(const char *what);
  std::int64_t integer(const char *what, std::int64_t lo, std::int64_t hi);  // within lo..hi
  // A host variable by its number or its name (host/script/host_catalogue.h).
  std::int32_t token();
  bool keyword(const char *word);  // consumes it when it is next
  void expect_keyword(const char *word);
  void done();
  std::size_t position() const { return at_; }

 private:
  const ScriptLine &line_;
  std::size_t at_;
};

// An expected key event, written ID or ID:VALUE (any value without one).
struct EventPattern {
  std::int32_t id;
  std::optional<std::uint32_t> value;
  bool matches(std::int32_t event, std::uint32_t event_value) const;
  std::string text() const;  // as written, the value signed
};
// Reads ID[:VALUE]; throws ScriptError.
EventPattern event_pattern(const std::string &word);

// A value check's [~ TOL] after its expected value (none: exact but for
// rounding in the last places); throws ScriptError.
double tolerance(Args &a, double expected);
// Whether a value passes: within the tolerance, or the same NaN or infinity.
bool close_to(double actual, double expected, double tolerance);

// Parses a number as the language writes it; false when it is not one.
bool parse_number(const std::string &text, double *out);

// An element of an instance as scripts name it: @BITMAP, @BITMAP:K or #N.
struct ElementRef {
  bool by_bitmap = false;
  std::int32_t bitmap = 0;
  int index = 1;  // K-th with that bitmap, or N-th in drawing order
};
// Throws ScriptError when the text names no element.
ElementRef element_ref(const std::string &text);
// The element's place in drawing order; -1 when there is none.
int find_element(Instance &inst, const ElementRef &ref);

class ScriptRun;
using Step = std::function<void(ScriptRun &)>;
using CommandParser = std::function<Step(const ScriptLine &, Args &)>;

// The command table: "place", "expect", ... The "expect" command dispatches
// on its second word through expect_table() first, then to element checks.
std::map<std::string, CommandParser> &command_table();
std::map<std::string, CommandParser> &expect_table();

// The command groups of the other parts of the host, each adding its
// commands to the tables when they are first built. Listed here rather than
// registered from each file at load, which a static library would drop.
struct ScriptTables {
  std::map<std::string, CommandParser> commands, expects;
};
void add_clock_commands(ScriptTables &tables);
void add_failure_commands(ScriptTables &tables);
void add_flight_commands(ScriptTables &tables);
void add_log_commands(ScriptTables &tables);
void add_model_commands(ScriptTables &tables);
void add_navigation_commands(ScriptTables &tables);
void add_panel_commands(ScriptTables &tables);
void add_pixel_commands(ScriptTables &tables);
void add_render_commands(ScriptTables &tables);
void add_report_commands(ScriptTables &tables);
void add_sound_commands(ScriptTables &tables);
void add_traffic_commands(ScriptTables &tables);

// Everything a running script touches.
class ScriptRun {
 public:
  ScriptRun(Module &module, std::ostream &out) : host(module), out_(out) {}
  Host host;
  // Per-script state kept by commands of other parts of the host.
  std::map<std::string, std::shared_ptr<void>> extensions;
  // Where the files a script writes under relative names go (pictures,
  // snapshots): never the directory the run was started in.
  std::filesystem::path out_dir = "out";

  void pass() { ++passed_; }
  void fail(const ScriptLine &line, const std::string &message);
  // A command that could not be carried out (unknown gauge, ...).
  void error(const ScriptLine &line, const std::string &message);
  Instance &instance(const ScriptLine &line, const std::string &alias);
  // Where the run reports (notes that are neither failures nor errors).
  std::ostream &out() { return out_; }
  int passed() const { return passed_; }
  int failed() const { return failed_; }
  int errors() const { return errors_; }

 private:
  std::ostream &out_;
  int passed_ = 0;
  int failed_ = 0;
  int errors_ = 0;
};

// Splits one script file into lines of tokens; throws ScriptError.
std::vector<ScriptLine> tokenize_script(const std::string &file, const std::string &source);
// Turns lines into steps; throws ScriptError naming the file and line.
std::vector<Step> parse_script(const std::vector<ScriptLine> &lines);

struct ScriptTotals {
  int passed = 0;
  int failed = 0;
  // Scripts that could not be read, parsed or run against the module, that
  // were empty or checked nothing, and commands that could not be carried out.
  int errors = 0;
  bool ok() const { return failed == 0 && errors == 0; }
};

// Runs one script against a fresh host on a freshly loaded module;
// `started`, if given, sees the run before its first step, and `finished`
// after its last, before the host closes. Failures and errors are written to
// out, each with its file and line.
ScriptTotals run_script(const std::string &module_path, const std::string &file,
                        const std::string &source, std::ostream &out,
                        const std::function<void(ScriptRun &)> &finished = nullptr,
                        const std::function<void(ScriptRun &)> &started = nullptr);

// The script `z480-panel run` plays when given none, and the file name its
// lines are cited with.
std::string_view default_script();
// The aircraft's panel configuration (panel/panel.cfg), built in.
std::string_view default_panel();
inline constexpr const char kDefaultScriptFile[] = "host/script/default.z480";

}  // namespace z480
