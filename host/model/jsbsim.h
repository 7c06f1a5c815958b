// The link to JSBSim, the flight dynamics engine, run as a child process and
// driven in lockstep over its socket input: each host frame sets the
// controls, advances the model a fixed number of steps and reads the state
// back, so a flight depends on nothing but its inputs.
//
// The child is the JSBSim program with our aircraft (aircraft/z480) copied
// into a private temporary root, its aircraft file given an <input> element
// on a port chosen here, and an initialisation file for the start wanted.
// JSBSim cannot be told an address to listen on and takes the first client
// that connects; we connect the moment its port opens and accept the link
// only when JSBSim greets us, after which it never accepts another. Should
// anyone else have got in first, we hear no greeting and fail with an error.
// Its console output goes to /dev/null (and JSBSIM_DEBUG=0 keeps it quiet);
// what it prints on its error stream is kept for the error we report.
//
// The protocol's quirks decide the shape of a frame. With blocking input
// JSBSim reads one message before each step, answers every command in it
// and only then steps; so a frame is one message with the sets, a no-op
// (`resume`) per further step, and the gets in the message before the last
// step: the state read is that of the frame's second-to-last step, 1/126 s
// before its end. `get` answers with 6 significant digits, which is why the
// position is read as feet from the start (z480/north-ft). An error reply
// drops the rest of a message: every property is checked once at start-up,
// and any later error ends the link.
#pragma once

#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace z480 {

// A start-up that failed, a child that died, a reply we did not expect.
class JsbsimError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the flight starts.
struct JsbsimStart {
  double latitude_deg = 0, longitude_deg = 0;
  double altitude_ft = 0;  // above the ground
  double speed_kts = 0;    // calibrated
  double heading_deg = 0;  // true
  bool engines_running = false;
  double terrain_elevation_ft = 0;  // the ground, above sea level, flat all round
};

struct JsbsimFiles {
  std::string program;   // the JSBSim executable
  std::string aircraft;  // the folder holding z480.xml, Engines/ and Systems/
};

// The program and the aircraft found at build time, unless the environment
// names others (Z480_JSBSIM, Z480_AIRCRAFT).
JsbsimFiles default_jsbsim_files();

// Whether a connected TCP socket has met itself (its own port as its peer).
bool connected_to_itself(int socket);

class Jsbsim {
 public:
  static constexpr int kStepsPerFrame = 7;  // 126 steps a second at 18 frames

  // Starts JSBSim and checks every property named in `writes` and `reads`;
  // throws JsbsimError with what went wrong.
  Jsbsim(const JsbsimFiles &files, const JsbsimStart &start, std::vector<std::string> writes,
         std::vector<std::string> reads);
  // Ends the child with `quit` (and kills one that does not go).
  ~Jsbsim();
  Jsbsim(const Jsbsim &) = delete;
  Jsbsim &operator=(const Jsbsim &) = delete;

  // One host frame: writes[i] := values[i] for each value that changed
  // since the last frame, then the `commands` in their order (for
  // properties whose meaning depends on another, such as
  // propulsion/active_engine before propulsion/starter_cmd), before the
  // first step; then the steps. Returns reads' values in their order.
  using Command = std::pair<std::string, double>;
  const std::vector<double> &frame(const std::vector<double> &values,
                                   const std::vector<Command> &commands = {});

  // Index of a property in the reads or writes given at start, or -1.
  int read_index(const std::string &property) const;
  int write_index(const std::string &property) const;
  // The child's process id (-1 once it is gone).
  pid_t child() const { return pid_; }

 private:
  void start_child(const JsbsimFiles &files, const JsbsimStart &start);
  void connect_to_child();
  void check_properties();
  // Sends `commands` as one message (none: sends nothing) and collects
  // `replies` replies, each what came before a prompt.
  std::vector<std::string> exchange(const std::vector<std::string> &commands, int replies);
  [[noreturn]] void fail(const std::string &what);
  void stop_child();
  void remove_root();

  std::vector<std::string> writes_, reads_;
  std::vector<double> values_;
  std::vector<double> last_written_;
  std::string root_;       // the private root folder
  std::string error_log_;  // the child's error stream, in the root
  pid_t pid_ = -1;
  int port_ = 0;
  int socket_ = -1;
  std::string pending_;  // received and not yet consumed
  bool resumed_ = false;
};

}  // namespace z480
