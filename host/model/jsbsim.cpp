#include "host/model/jsbsim.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace z480 {
namespace {

namespace fs = std::filesystem;

constexpr const char *kPrompt = "JSBSim> ";
constexpr const char *kGreeting = "Connected to JSBSim server\n";
constexpr int kStepsPerSecond = Jsbsim::kStepsPerFrame * 18;
// How long JSBSim may take to come up, and to answer one message.
constexpr auto kStartTimeout = std::chrono::seconds(20);
constexpr int kReplyTimeoutMs = 20000;
constexpr auto kQuitTimeout = std::chrono::seconds(3);
constexpr int kStartAttempts = 3;

std::string env_or(const char *name, const char *fallback) {
  const char *v = std::getenv(name);
  return v && *v ? v : fallback;
}

std::string read_whole(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string format_double(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// The initialisation file for a start.
std::string init_file(const JsbsimStart &s) {
  std::ostringstream o;
  o << "<?xml version=\"1.0\"?>\n<initialize name=\"start\">\n"
    << "  <latitude unit=\"DEG\"> " << format_double(s.latitude_deg) << " </latitude>\n"
    << "  <longitude unit=\"DEG\"> " << format_double(s.longitude_deg) << " </longitude>\n"
    << "  <elevation unit=\"FT\"> " << format_double(s.terrain_elevation_ft) << " </elevation>\n"
    << "  <altitude unit=\"FT\"> " << format_double(s.altitude_ft) << " </altitude>\n"
    << "  <vc unit=\"KTS\"> " << format_double(s.speed_kts) << " </vc>\n"
    << "  <psi unit=\"DEG\"> " << format_double(s.heading_deg) << " </psi>\n";
  // In the air the wing starts near its cruise angle, climbing nowhere.
  if (s.altitude_ft > 0) o << "  <alpha unit=\"DEG\"> 2 </alpha>\n  <gamma unit=\"DEG\"> 0 </gamma>\n";
  if (s.engines_running) o << "  <running> -1 </running>\n";
  o << "</initialize>\n";
  return o.str();
}

// A free port on this machine, found by binding to port 0 (JSBSim takes no
// SO_REUSEADDR, and the kernel hands out no port still held in TIME_WAIT).
int free_port() {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  int port = 0;
  if (::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  ::close(s);
  return port;
}

// What `set` and `resume` answer when they worked; anything else is an error.
bool is_expected_reply(const std::string &command, const std::string &reply) {
  if (command.rfind("set ", 0) == 0) return reply == "set successful\n";
  if (command == "resume") return reply == "Resuming\n";
  return true;
}

}  // namespace

// Before JSBSim listens, a connect to its port can be handed that same port
// as its own and meet itself (a TCP simultaneous open): it then "succeeds",
// and waits for a greeting no one will send.
bool connected_to_itself(int s) {
  sockaddr_in mine{}, peer{};
  socklen_t mine_len = sizeof mine, peer_len = sizeof peer;
  if (::getsockname(s, reinterpret_cast<sockaddr *>(&mine), &mine_len) != 0 ||
      ::getpeername(s, reinterpret_cast<sockaddr *>(&peer), &peer_len) != 0)
    return true;
  return mine.sin_port == peer.sin_port && mine.sin_addr.s_addr == peer.sin_addr.s_addr;
}

JsbsimFiles default_jsbsim_files() {
#ifdef Z480_JSBSIM_PROGRAM
  const char *program = Z480_JSBSIM_PROGRAM;
#else
  const char *program = "JSBSim";
#endif
#ifdef Z480_AIRCRAFT_DIR
  const char *aircraft = Z480_AIRCRAFT_DIR;
#else
  const char *aircraft = "aircraft/z480";
#endif
  return {env_or("Z480_JSBSIM", program), env_or("Z480_AIRCRAFT", aircraft)};
}

Jsbsim::Jsbsim(const JsbsimFiles &files, const JsbsimStart &start, std::vector<std::string> writes,
               std::vector<std::string> reads)
    : writes_(std::move(writes)), reads_(std::move(reads)), values_(reads_.size(), 0.0) {
  // The port is chosen before JSBSim binds it, so on a busy machine another
  // program can take it in between, or another JSBSim be handed the same one:
  // a start that finds no JSBSim of its own at the port is made afresh.
  for (int attempt = 1;; ++attempt) {
    try {
      start_child(files, start);
      connect_to_child();
      break;
    } catch (const JsbsimError &) {
      stop_child();
      remove_root();
      pending_.clear();
      if (attempt == kStartAttempts || ::access(files.program.c_str(), X_OK) != 0) throw;
    }
  }
  try {
    check_properties();
  } catch (...) {
    stop_child();
    remove_root();
    throw;
  }
}

Jsbsim::~Jsbsim() {
  stop_child();
  remove_root();
}

void Jsbsim::start_child(const JsbsimFiles &files, const JsbsimStart &start) {
  if (::access(files.program.c_str(), X_OK) != 0)
    throw JsbsimError("JSBSim not found at " + files.program +
                      " (scripts/setup.sh fetches it; Z480_JSBSIM names another)");
  fs::path aircraft = fs::absolute(files.aircraft);
  std::string model = read_whole(aircraft / "z480.xml");
  auto end = model.rfind("</fdm_config>");
  if (end == std::string::npos)
    throw JsbsimError("no aircraft at " + aircraft.string() + " (z480.xml missing or not an aircraft)");

  std::string pattern = (fs::temp_directory_path() / "z480-jsbsim-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw JsbsimError("cannot make a folder for JSBSim: " + std::string(std::strerror(errno)));
  root_ = pattern;
  fs::path dir = fs::path(root_) / "aircraft" / "z480";
  std::error_code ec;
  fs::create_directories(dir, ec);
  for (const char *sub : {"Engines", "Systems"}) fs::create_directory_symlink(aircraft / sub, dir / sub, ec);
  if (ec) throw JsbsimError("cannot lay out JSBSim's aircraft folder: " + ec.message());

  port_ = free_port();
  if (port_ == 0) throw JsbsimError("no free port on this machine for JSBSim");
  model.insert(end, "<input type=\"socket\" port=\"" + std::to_string(port_) +
                        "\" protocol=\"tcp\" action=\"BLOCKING_INPUT\"/>\n");
  std::ofstream(dir / "z480.xml", std::ios::binary) << model;
  std::ofstream(dir / "start.xml", std::ios::binary) << init_file(start);
  error_log_ = (fs::path(root_) / "jsbsim.err").string();

  // Everything the child needs is made before the fork: after it, only
  // calls that are safe in a copy of a threaded process.
  std::vector<std::string> args = {files.program,
                                   "--root=" + root_ + "/",
                                   "--aircraft=z480",
                                   "--initfile=start",
                                   "--simulation-rate=" + std::to_string(kStepsPerSecond),
                                   "--suspend",
                                   "--end=1e9"};
  std::vector<char *> argv;
  for (auto &a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_strings = {"JSBSIM_DEBUG=0"};
  for (char **e = environ; *e; ++e)
    if (std::strncmp(*e, "JSBSIM_DEBUG=", 13) != 0) env_strings.emplace_back(*e);
  std::vector<char *> envp;
  for (auto &e : env_strings) envp.push_back(e.data());
  envp.push_back(nullptr);
  int devnull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  int errors = ::open(error_log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (devnull < 0 || errors < 0) {
    if (devnull >= 0) ::close(devnull);
    if (errors >= 0) ::close(errors);
    throw JsbsimError("cannot open JSBSim's output files");
  }
  pid_t pid = ::fork();
  if (pid == 0) {
    // The child dies with the host: a JSBSim left without its client would
    // run on at full speed.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::dup2(devnull, 0);
    ::dup2(devnull, 1);
    ::dup2(errors, 2);
    ::close_range(3, ~0u, 0);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(devnull);
  ::close(errors);
  if (pid < 0) throw JsbsimError("cannot start JSBSim: " + std::string(std::strerror(errno)));
  pid_ = pid;
}

void Jsbsim::fail(const std::string &what) {
  std::string message = "JSBSim: " + what;
  if (pid_ > 0) {
    int status = 0;
    pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      if (WIFSIGNALED(status))
        message += " (it was killed by signal " + std::to_string(WTERMSIG(status)) + ")";
      else if (WIFEXITED(status))
        message += " (it exited with status " + std::to_string(WEXITSTATUS(status)) + ")";
    }
  }
  std::string log = error_log_.empty() ? "" : read_whole(error_log_);
  while (!log.empty() && (log.back() == '\n' || log.back() == ' ')) log.pop_back();
  if (!log.empty()) message += ": " + log.substr(log.size() > 600 ? log.size() - 600 : 0);
  throw JsbsimError(message);
}

void Jsbsim::connect_to_child() {
  auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port_));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  for (;;) {
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) fail("no socket: " + std::string(std::strerror(errno)));
    if (::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 && !connected_to_itself(s)) {
      socket_ = s;
      break;
    }
    ::close(s);
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      fail("it stopped while starting (the aircraft did not load?)");
    }
    if (std::chrono::steady_clock::now() > deadline) fail("it did not open its port in time");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // Every message is one small write answered before the next: no waiting
  // for more to send, nor for a delayed acknowledgement.
  int on = 1;
  ::setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  // The greeting comes only to the client JSBSim accepted.
  auto replies = exchange({}, 1);
  if (replies[0] != kGreeting) fail("someone else holds its port (no greeting)");
}

std::vector<std::string> Jsbsim::exchange(const std::vector<std::string> &commands, int replies_wanted) {
  if (!commands.empty()) {
    std::string message;
    for (const auto &c : commands) message += c + "\n";
    const char *p = message.data();
    std::size_t left = message.size();
    while (left > 0) {
      ssize_t n = ::send(socket_, p, left, MSG_NOSIGNAL);
      if (n <= 0) fail("the link broke while sending");
      p += n;
      left -= static_cast<std::size_t>(n);
    }
  }
  std::vector<std::string> replies;
  while (static_cast<int>(replies.size()) < replies_wanted) {
    auto at = pending_.find(kPrompt);
    if (at != std::string::npos) {
      replies.push_back(pending_.substr(0, at));
      pending_.erase(0, at + std::strlen(kPrompt));
      continue;
    }
    pollfd pfd{socket_, POLLIN, 0};
    int ready = ::poll(&pfd, 1, kReplyTimeoutMs);
    if (ready <= 0) fail("no answer");
    char buf[8192];
    ssize_t n = ::recv(socket_, buf, sizeof buf, 0);
    if (n <= 0) fail("the link closed");
    int on = 1;
    ::setsockopt(socket_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
    pending_.append(buf, static_cast<std::size_t>(n));
  }
  return replies;
}

void Jsbsim::check_properties() {
  // One `get` each, answered while JSBSim still holds: an error reply ends
  // the message, so the first name without a value is the one unknown.
  std::vector<std::string> names = writes_;
  names.insert(names.end(), reads_.begin(), reads_.end());
  if (names.empty()) return;
  std::vector<std::string> commands;
  for (const auto &n : names) commands.push_back("get " + n);
  // Read reply by reply, so that an error is seen before waiting for the
  // replies it dropped.
  exchange(commands, 0);
  for (const auto &n : names) {
    auto reply = exchange({}, 1)[0];
    if (reply.rfind(n + " = ", 0) != 0) {
      while (!reply.empty() && reply.back() == '\n') reply.pop_back();
      fail("the aircraft has no property " + n + " (" + reply + ")");
    }
  }
  last_written_.assign(writes_.size(), std::nan(""));
}

const std::vector<double> &Jsbsim::frame(const std::vector<double> &values,
                                         const std::vector<Command> &commands) {
  if (socket_ < 0) fail("the link is closed");
  // Step 1 with the new controls (only those that changed).
  std::vector<std::string> first;
  if (!resumed_) {
    first.emplace_back("resume");
    resumed_ = true;
  }
  for (std::size_t i = 0; i < values.size() && i < writes_.size(); ++i) {
    if (!(values[i] == last_written_[i]) && std::isfinite(values[i])) {
      first.push_back("set " + writes_[i] + " " + format_double(values[i]));
      last_written_[i] = values[i];
    }
  }
  for (const auto &[property, value] : commands)
    if (std::isfinite(value)) first.push_back("set " + property + " " + format_double(value));
  if (first.empty()) first.emplace_back("resume");
  auto check = [this](const std::vector<std::string> &commands) {
    auto replies = exchange(commands, static_cast<int>(commands.size()));
    for (std::size_t i = 0; i < replies.size(); ++i)
      if (!is_expected_reply(commands[i], replies[i])) fail("`" + commands[i] + "` failed: " + replies[i]);
  };
  check(first);
  static const std::vector<std::string> kNoOp = {"resume"};
  for (int step = 2; step < kStepsPerFrame; ++step) check(kNoOp);
  // The gets before the last step.
  std::vector<std::string> gets;
  gets.reserve(reads_.size());
  for (const auto &r : reads_) gets.push_back("get " + r);
  if (gets.empty()) {
    check(kNoOp);
    return values_;
  }
  auto replies = exchange(gets, static_cast<int>(gets.size()));
  for (std::size_t i = 0; i < replies.size(); ++i) {
    const std::string &reply = replies[i];
    auto eq = reply.find(" = ");
    if (reply.compare(0, eq, reads_[i]) != 0 || eq == std::string::npos) fail("`" + gets[i] + "`: " + reply);
    values_[i] = std::strtod(reply.c_str() + eq + 3, nullptr);
  }
  return values_;
}

int Jsbsim::read_index(const std::string &property) const {
  for (std::size_t i = 0; i < reads_.size(); ++i)
    if (reads_[i] == property) return static_cast<int>(i);
  return -1;
}

int Jsbsim::write_index(const std::string &property) const {
  for (std::size_t i = 0; i < writes_.size(); ++i)
    if (writes_[i] == property) return static_cast<int>(i);
  return -1;
}

void Jsbsim::stop_child() {
  if (socket_ >= 0) {
    // terminate ends JSBSim's run; quit closes its side of the link first.
    static const char kQuit[] = "set simulation/terminate 1\nquit\n";
    ::send(socket_, kQuit, sizeof kQuit - 1, MSG_NOSIGNAL);
    ::close(socket_);
    socket_ = -1;
  }
  if (pid_ <= 0) return;
  auto deadline = std::chrono::steady_clock::now() + kQuitTimeout;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  pid_ = -1;
}

void Jsbsim::remove_root() {
  if (root_.empty()) return;
  std::error_code ec;
  // The links are removed, not what they point at.
  fs::remove_all(root_, ec);
  root_.clear();
}

}  // namespace z480
