// z480-panel: loads the gauge module the way the simulator does and runs
// panel scripts against it.
//   z480-panel run [--module PATH] [--wav FILE] [--out DIR] [--x87 MODE] [SCRIPT...]
//   z480-panel list [--module PATH]
//   z480-panel serve [--port N] [--panel FILE] [--scenario NAME] [SCRIPT]
//   z480-panel bitmaps [--module PATH] [--write DIR]
//   z480-panel sheet [--module PATH] FILE.png
// --wav writes everything the scripts played, one after another, into FILE.
// --out writes the flight's report into DIR (the phases, snapshots, sound,
// key-event log, summary and an index.html); the default flight writes it
// to out/ unless told otherwise. The pictures a script draws under relative
// names go to DIR, or to out/ without --out: never beside the sources.
// --x87 (the 32-bit build) runs the module's calls with the x87 precision
// cut to 24 bits (24), as a simulator drawing with Direct3D does, or with
// invalid operations unmasked (invalid); the host's own work keeps its state.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/script/flight_report.h"
#include "host/core/host.h"
#include "host/core/module.h"
#include "host/core/module_loader.h"
#include "host/util/files.h"
#include "host/render/render_cli.h"
#include "host/script/script.h"
#include "host/serve/serve_cli.h"

namespace {

// The module beside this program, as the build lays them out.
std::string default_module_path() {
  std::string exe = z480::program_file();
  if (exe.empty()) return "Z480_Instr.gau";
  return (std::filesystem::path(exe).parent_path() / "Z480_Instr.gau").string();
}

// The module, or null after saying why on one line.
std::unique_ptr<z480::Module> load(const std::string &module_path) {
  std::string error;
  auto module = z480::Module::load(module_path, &error);
  if (!module) std::cerr << "z480-panel: " << z480::printable(error) << "\n";
  return module;
}

int list(const std::string &module_path) {
  auto module = load(module_path);
  if (!module) return 1;
  for (GaugeHeader *g : module->linkage().gauge_header_ptr) {
    if (!g) break;
    std::cout << (g->gauge_name ? g->gauge_name : "?") << " " << g->size_x_mm << "\n";
  }
  return 0;
}

// The report directory made ready, or a reason why it cannot be.
bool make_directory(const std::string &dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return std::filesystem::is_directory(dir, ec);
}

int run(const std::string &module_path, const std::vector<std::string> &scripts,
        std::string wav, const std::string &out_dir) {
  // Refused before anything runs: a module that cannot load fails every
  // script alike, and a long run must not end in a lost recording.
  if (!load(module_path)) return 1;
  std::shared_ptr<z480::FlightReport> report;
  if (!out_dir.empty()) {
    if (!make_directory(out_dir)) {
      std::cerr << "z480-panel: cannot make the directory " << z480::printable(out_dir) << "\n";
      return 2;
    }
    report = std::make_shared<z480::FlightReport>(out_dir);
    if (wav.empty()) wav = (std::filesystem::path(out_dir) / "flight.wav").string();
  }
  if (!wav.empty()) {
    std::error_code ec;
    std::ofstream probe(wav, std::ios::binary | std::ios::app);
    if (!probe || std::filesystem::is_directory(wav, ec)) {
      std::cerr << "z480-panel: cannot write " << z480::printable(wav) << "\n";
      return 2;
    }
  }
  z480::ScriptTotals all;
  auto add = [&](const z480::ScriptTotals &t) {
    all.passed += t.passed;
    all.failed += t.failed;
    all.errors += t.errors;
  };
  z480::SoundRecording recording;
  std::function<void(z480::ScriptRun &)> started, finished;
  started = [&](z480::ScriptRun &r) {
    if (!out_dir.empty()) r.out_dir = out_dir;
    if (report) z480::attach_flight_report(r, report);
  };
  std::string script_name;
  finished = [&](z480::ScriptRun &r) {
    if (!wav.empty()) recording.add(r.host.audio(), r.host.seconds());
    if (report) report->add_log(script_name, r.host.log());
  };
  auto run_one = [&](const std::string &file, const std::string &source) {
    script_name = file;
    add(z480::run_script(module_path, file, source, std::cout, finished, started));
  };
  if (scripts.empty()) run_one(z480::kDefaultScriptFile, std::string(z480::default_script()));
  for (const std::string &file : scripts) {
    std::string why;
    if (auto source = z480::read_file(file, &why)) {
      run_one(file, *source);
    } else {
      std::cout << z480::printable(file) << ": error: cannot read the script: " << why << "\n";
      ++all.errors;
    }
  }
  if (!wav.empty()) {
    std::string error;
    if (!recording.write(wav, &error)) {
      std::cerr << "z480-panel: " << z480::printable(error) << "\n";
      ++all.errors;
    } else if (recording.truncated()) {
      std::cerr << "z480-panel: the recording stops after an hour\n";
    }
  }
  if (report) {
    report->set_totals(all.passed, all.failed, all.errors);
    auto relative = std::filesystem::path(wav).lexically_relative(out_dir);
    bool inside = !relative.empty() && *relative.begin() != "..";
    std::string error;
    if (!report->write(inside ? relative.string() : std::string(), &error)) {
      std::cerr << "z480-panel: " << z480::printable(error) << "\n";
      ++all.errors;
    } else {
      std::cout << "the report: " << z480::printable(
                                         (std::filesystem::path(out_dir) / "index.html").string())
                << "\n";
    }
  }
  std::cout << all.passed << " passed, " << all.failed << " failed, " << all.errors
            << (all.errors == 1 ? " error\n" : " errors\n");
  return all.ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
  CLI::App app{
      std::string("Loads the Z480 gauge module the way the flight simulator does and runs panel "
                  "scripts against it (the language is described at the top of host/script/script.h).") +
      z480::kDrawingLeftOut};
  app.name("z480-panel");
  // Options only with dashes, so that a path starting with '/' stays a path
  // on Windows too.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  std::string module_path = default_module_path();
  const std::string module_help = "the gauge module to load (default: the one beside this program)";

  std::string wav;
  std::vector<std::string> scripts;
  CLI::App *run_command = app.add_subcommand(
      "run",
      "Run panel scripts, each against a fresh host and a freshly loaded module; without one, "
      "fly the embedded default panel and scenario. Ends with the numbers passed, failed and "
      "in error; exits 0 only when nothing failed.");
  run_command->add_option("--module", module_path, module_help);
  run_command->add_option("--wav", wav, "also mix everything the scripts played into this WAV file");
  std::string out_dir;
  run_command->add_option("--out", out_dir,
                          "write the flight's report here: phases, snapshots, sound, key-event "
                          "log, summary and index.html (default for the default flight: out)");
  run_command->add_option("scripts", scripts, "panel scripts (.z480)");
  std::string x87 = "native";
  run_command->add_option("--x87", x87,
                          "the x87 state the module runs in (32-bit build): native, 24 (precision "
                          "cut to 24 bits, as under Direct3D) or invalid (invalid operations "
                          "unmasked)");

  CLI::App *list_command = app.add_subcommand("list", "List the module's gauges: NAME SIZE_MM");
  list_command->add_option("--module", module_path, module_help);

  z480::ServeOptions serve_options;
  CLI::App *serve_command = app.add_subcommand(
      "serve",
      "Serve the live panel to a browser on this machine (http://localhost:PORT/): the panel "
      "configuration placed, the systems model and the clock on, 18 frames a second, with a "
      "flight strip to fly it. SCRIPT, if given, runs against the panel first.");
  serve_command->add_option("--module", module_path, module_help);
  serve_command->add_option("--port", serve_options.port, "the port on 127.0.0.1 (default 8480; 0: any free port)")
      ->check(CLI::Range(0, 65535));
  serve_command->add_option("--panel", serve_options.panel_file,
                            "the panel configuration (default: the aircraft's own)");
  serve_command->add_option("--scenario", serve_options.scenario,
                            "where to start: cold, ready or approach (default cold)");
  serve_command->add_option("script", serve_options.script_file, "a panel script (.z480)");
  std::string bitmap_dir;
  CLI::App *bitmaps_command = app.add_subcommand(
      "bitmaps", "List the module's bitmaps: ID WIDTH HEIGHT; with --write also write each as a PNG");
  bitmaps_command->add_option("--module", module_path, module_help);
  bitmaps_command->add_option("--write", bitmap_dir, "the directory to write ID.png files into")
      ->check(CLI::ExistingDirectory);

  std::string sheet_file;
  CLI::App *sheet_command = app.add_subcommand(
      "sheet", "Draw every gauge of the module after one frame, one cell each with its name, into a PNG");
  sheet_command->add_option("--module", module_path, module_help);
  sheet_command->add_option("file", sheet_file, "the PNG to write")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  if (*list_command) return list(module_path);
  if (*serve_command) {
    serve_options.module_path = module_path;
    return z480::serve(serve_options, std::cout, std::cerr);
  }
  if (*sheet_command) {
    auto module = load(module_path);
    if (!module) return 1;
    std::string error;
    if (z480::render_sheet(*module, sheet_file, &error)) return 0;
    std::cerr << "z480-panel: " << z480::printable(error) << "\n";
    return 1;
  }
  if (*bitmaps_command) {
    auto module = load(module_path);
    return module ? z480::list_bitmaps(*module, bitmap_dir, std::cout, std::cerr) : 1;
  }
  if (scripts.empty() && out_dir.empty()) out_dir = "out";
  std::optional<z480::X87Mode> mode = z480::x87_mode_from_text(x87);
  if (!mode || (*mode != z480::X87Mode::kNative && !z480::x87_modes_available())) {
    std::cerr << "z480-panel: --x87 " << z480::printable(x87)
              << ": expected native, or 24 or invalid on the 32-bit build\n";
    return 2;
  }
  z480::Host::set_x87_mode(*mode);
  return run(module_path, scripts, wav, out_dir);
}
