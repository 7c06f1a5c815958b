// The script command `panel FILE`: places a whole panel configuration (see
// host/panel/panel_config.h), replacing the one placed before. FILE is read
// relative to the script's directory; `panel default` is the aircraft's own
// panel, built into the host. What the reader skipped and the gauges
// that could not be placed are reported as warnings; the rest of the panel
// is placed all the same.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/panel/panel_background.h"
#include "host/core/panel_loader.h"
#include "host/script/script.h"

namespace z480 {
namespace {

std::filesystem::path beside_script(const ScriptLine &line, const std::string &file) {
  std::filesystem::path path(file);
  if (path.is_absolute()) return path;
  return (std::filesystem::path(line.file).parent_path() / path).lexically_normal();
}

void place_panel(ScriptRun &run, const std::string &name, std::string_view text,
                 const std::optional<std::filesystem::path> &file) {
  for (const PanelDiagnostic &d : load_panel(run.host, parse_panel_config(text), panel_folders(file)))
    run.out() << name << ":" << d.line << ": warning: " << d.message << "\n";
}

Step cmd_panel(const ScriptLine &line, Args &a) {
  std::string file = a.more() && a.peek().quoted ? a.text("") : a.word("a panel configuration file");
  a.done();
  if (file == "default")
    return [](ScriptRun &run) { place_panel(run, "panel/panel.cfg", default_panel(), std::nullopt); };
  std::filesystem::path path = beside_script(line, file);
  return [=](ScriptRun &run) {
    std::string why;
    std::optional<std::string> text = read_file(path, &why);
    if (!text) return run.error(line, "cannot read the panel configuration " + path.string() + ": " + why);
    place_panel(run, path.string(), *text, path);
  };
}

}  // namespace

void add_panel_commands(ScriptTables &tables) {
  tables.commands["panel"] = cmd_panel;
}

}  // namespace z480
