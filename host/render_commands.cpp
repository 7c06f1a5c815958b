// The script command `render FILE.png [window IDENT]`: draws what the host
// shows now (host/render.h) into a PNG.
#include <limits>

#include "host/render.h"
#include "host/script.h"

namespace z480 {
namespace {

Step cmd_render(const ScriptLine &line, Args &a) {
  std::string file = a.peek().quoted ? a.text("a PNG file") : a.word("a PNG file");
  std::optional<std::uint32_t> window;
  if (a.keyword("window"))
    window = static_cast<std::uint32_t>(
        a.integer("a panel window ident", 0, std::numeric_limits<std::uint32_t>::max()));
  a.done();
  return [=](ScriptRun &run) {
    std::string error;
    if (!render_png(run.host, file, window, &error)) run.error(line, error);
  };
}

[[maybe_unused]] const bool kRegistered = (command_table()["render"] = cmd_render, true);

}  // namespace
}  // namespace z480
