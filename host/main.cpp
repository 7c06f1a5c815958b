// z480-panel: loads the gauge module the way the simulator does and runs
// panel scripts against it.
//   z480-panel run [--module PATH] [--wav FILE] [SCRIPT...]
//   z480-panel list [--module PATH]
// --wav writes everything the scripts played, one after another, into FILE.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "host/module.h"
#include "host/script.h"

namespace {

// The module beside this program, as the build lays them out.
std::string default_module_path() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "Z480_Instr.gau";
  return (exe.parent_path() / "Z480_Instr.gau").string();
}

int usage() {
  std::cerr << "usage: z480-panel run [--module PATH] [--wav FILE] [SCRIPT...]\n"
               "       z480-panel list [--module PATH]\n";
  return 2;
}

int list(const std::string &module_path) {
  std::string error;
  auto module = z480::Module::load(module_path, &error);
  if (!module) {
    std::cerr << "z480-panel: " << error << "\n";
    return 1;
  }
  for (GaugeHeader *g : module->linkage().gauge_header_ptr) {
    if (!g) break;
    std::cout << (g->gauge_name ? g->gauge_name : "?") << " " << g->size_x_mm << "\n";
  }
  return 0;
}

int run(const std::string &module_path, const std::vector<std::string> &scripts,
        const std::string &wav) {
  int passed = 0, failed = 0;
  bool ok = true;
  auto add = [&](const z480::ScriptTotals &t) {
    passed += t.passed;
    failed += t.failed;
    ok = ok && t.ok;
  };
  z480::SoundRecording recording;
  std::function<void(z480::ScriptRun &)> record;
  if (!wav.empty())
    record = [&](z480::ScriptRun &r) { recording.add(r.host.audio(), r.host.seconds()); };
  if (scripts.empty())
    add(z480::run_script(module_path, "default", z480::kDefaultScript, std::cout, record));
  for (const std::string &file : scripts) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::cout << file << ": error: cannot read the script\n";
      ok = false;
      continue;
    }
    std::ostringstream source;
    source << in.rdbuf();
    add(z480::run_script(module_path, file, source.str(), std::cout, record));
  }
  if (!wav.empty()) {
    std::string error;
    if (!recording.write(wav, &error)) {
      std::cerr << "z480-panel: " << error << "\n";
      ok = false;
    } else if (recording.truncated()) {
      std::cerr << "z480-panel: the recording stops after an hour\n";
    }
  }
  std::cout << passed << " passed, " << failed << " failed\n";
  return ok && failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  std::string module_path = default_module_path();
  std::string wav;
  std::vector<std::string> files;
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--module") {
      if (++i >= argc) return usage();
      module_path = argv[i];
    } else if (arg == "--wav" && command == "run") {
      if (++i >= argc) return usage();
      wav = argv[i];
    } else if (arg.rfind("--", 0) == 0) {
      return usage();
    } else {
      files.push_back(arg);
    }
  }
  if (command == "list" && files.empty()) return list(module_path);
  if (command == "run") return run(module_path, files, wav);
  return usage();
}
