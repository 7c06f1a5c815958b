// The script command `fail KEY on|off`: turns one of the host's failures on
// or off. Elements whose failure list names the key then stop updating and
// are frozen, zeroed, not drawn or covered, as their list says.
#include "host/script/script.h"

namespace z480 {
namespace {

Step cmd_fail(const ScriptLine &, Args &a) {
  auto key = static_cast<std::int32_t>(a.integer("a failure key", 1, kLastFailureKey));
  std::string word = a.word("on or off");
  if (word != "on" && word != "off") throw ScriptError("expected on or off, got " + word);
  a.done();
  bool on = word == "on";
  return [=](ScriptRun &run) { run.host.set_failure(key, on); };
}

}  // namespace

void add_failure_commands(ScriptTables &tables) {
  tables.commands["fail"] = cmd_fail;
}

}  // namespace z480
