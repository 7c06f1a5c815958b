// The script command `model on|off`: switches the host's systems model on
// (built from every registered table at the first `model on`) or off.
#include <memory>

#include "host/model/model_clock.h"
#include "host/script/script.h"
#include "host/model/systems_model.h"

namespace z480 {
namespace {

constexpr const char *kModelExtension = "model";

Step cmd_model(const ScriptLine &, Args &a) {
  std::string word = a.word("on or off");
  if (word != "on" && word != "off") throw ScriptError("expected on or off, got " + word);
  a.done();
  bool on = word == "on";
  return [on](ScriptRun &run) {
    std::shared_ptr<void> &slot = run.extensions[kModelExtension];
    if (!slot) {
      if (!on) return;
      auto model = std::make_shared<SystemsModel>();
      Host &host = run.host;
      host.on_key_event([model, &host](const KeyEvent &e) { model->react(host, e); });
      host.on_frame([model, &host] { model->react(host, {kEveryFrame, 0}); });
      slot = model;
    }
    std::static_pointer_cast<SystemsModel>(slot)->set_enabled(on);
  };
}

}  // namespace

void add_model_commands(ScriptTables &tables) {
  tables.commands["model"] = cmd_model;
}

}  // namespace z480
