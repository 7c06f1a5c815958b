// The host's side of sound on Windows. The module plays through DirectSound
// inside its own file, on the system's default device, in real time: the
// host gives it a real main window to bind its devices to, and neither hears
// what plays nor can make a call fail or rename the program.
#include <windows.h>

#include <map>
#include <stdexcept>

#include "platform/platform_control.h"

namespace platform::control {
namespace {

struct World {
  std::map<std::string, HWND> windows;
  double now = 0;
};

World &world() {
  static World w;
  return w;
}

void destroy(HWND window) {
  if (window) DestroyWindow(window);
}

[[noreturn]] void not_here(const char *what) {
  throw std::runtime_error(std::string("the Windows build's host cannot ") + what +
                           ": DirectSound plays inside the module");
}

}  // namespace

void reset() {
  for (auto &[name, window] : world().windows) destroy(window);
  world() = World{};
}

void set_time(double seconds) {
  if (seconds > world().now) world().now = seconds;
}
double time() { return world().now; }

// A hidden top-level window of the class, as the simulator's main window.
void open_window(const std::string &class_name) {
  close_window(class_name);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, class_name.c_str(), &wc)) {
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = class_name.c_str();
    RegisterClassA(&wc);
  }
  world().windows[class_name] = CreateWindowA(class_name.c_str(), "Z480 panel", WS_OVERLAPPEDWINDOW,
                                              0, 0, 64, 64, nullptr, nullptr, instance, nullptr);
}

void close_window(const std::string &class_name) {
  auto it = world().windows.find(class_name);
  if (it == world().windows.end()) return;
  destroy(it->second);
  world().windows.erase(it);
}

void set_program_path(const std::string &path) {
  if (!path.empty()) not_here("rename the program the module sees");
}

void fail_next_call() { not_here("make the module's next sound call fail"); }

void on_playback(PlaybackListener) {}

bool hears_playback() { return false; }

std::size_t live_objects() { return 0; }

}  // namespace platform::control
