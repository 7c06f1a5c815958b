// Script commands for sound (registered into the command tables at load):
//   expect sounds ID ... | none   the WAVE ids of the sounds started since
//                                 the previous `expect sounds`, in order
//   sound fail                    the next sound-layer call that can fail does
//   sound window CLASS | none     the class of the host's main window
//   sound program NAME            the program file name the module sees
#include <string>
#include <vector>

#include "host/script/script.h"

namespace z480 {
namespace {

std::string describe(const std::vector<SoundStart> &starts) {
  if (starts.empty()) return "none";
  std::string s;
  for (const SoundStart &start : starts) {
    if (!s.empty()) s += ' ';
    s += start.wave_id ? std::to_string(start.wave_id) : std::string("?");
    s += " (" + (start.gauge.empty() ? std::string("-") : start.gauge) + ")";
  }
  return s;
}

Step expect_sounds(const ScriptLine &line, Args &a) {
  std::vector<std::int32_t> want;
  if (a.keyword("none")) {
    a.done();
  } else {
    if (!a.more()) throw ScriptError("expected WAVE ids or none");
    while (a.more()) {
      std::int64_t id = a.integer("a WAVE id");
      if (id < 1 || id > 65535) throw ScriptError("expected a WAVE id from 1 to 65535");
      want.push_back(static_cast<std::int32_t>(id));
    }
  }
  return [=](ScriptRun &run) {
    Audio &audio = run.host.audio();
    audio.require_hearing();
    std::pair<std::size_t, std::size_t> fresh = audio.take_new_starts();
    std::size_t first = fresh.first, last = fresh.second;
    audio.when_named([=, &run, &audio] {
      std::vector<SoundStart> got(audio.started().begin() + static_cast<std::ptrdiff_t>(first),
                                  audio.started().begin() + static_cast<std::ptrdiff_t>(last));
      bool same = got.size() == want.size();
      for (std::size_t i = 0; same && i < got.size(); ++i) same = got[i].wave_id == want[i];
      if (same) return run.pass();
      std::string expected;
      for (std::int32_t id : want) expected += (expected.empty() ? "" : " ") + std::to_string(id);
      run.fail(line, "sounds were " + describe(got) + ", expected " +
                         (expected.empty() ? "none" : expected));
    });
  };
}

Step cmd_sound(const ScriptLine &, Args &a) {
  std::string what = a.word("fail, window or program");
  if (what == "fail") {
    a.done();
    return [](ScriptRun &run) { run.host.audio().fail_next_call(); };
  }
  if (what == "window") {
    std::string name = a.more() && a.peek().quoted ? a.text("") : a.word("a window class or none");
    a.done();
    if (name == "none") name.clear();
    return [=](ScriptRun &run) { run.host.audio().set_main_window(name); };
  }
  if (what == "program") {
    std::string name = a.more() && a.peek().quoted ? a.text("") : a.word("a program file name");
    a.done();
    return [=](ScriptRun &run) { run.host.audio().set_program_path(name); };
  }
  throw ScriptError("expected fail, window or program, got " + what);
}

}  // namespace

void add_sound_commands(ScriptTables &tables) {
  tables.commands["sound"] = cmd_sound;
  tables.expects["sounds"] = expect_sounds;
}

}  // namespace z480
