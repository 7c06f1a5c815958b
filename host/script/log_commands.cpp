// The script check `expect log`: key events and sound starts in one
// timeline, so that the order between them can be checked ("the event goes
// before the click"):
//   expect log event ID[:VALUE] | sound ID ... | none
// lists everything logged since the previous `expect log`, exactly and in
// order. It keeps its own place: `expect events` and `expect sounds` still
// see the same events and sounds.
#include <algorithm>
#include <string>
#include <vector>

#include "host/script/script.h"

namespace z480 {
namespace {

// An expected entry: an event pattern, or a sound (its WAVE id in the pattern).
struct Expected {
  LogEntry::Kind kind;
  EventPattern pattern;
  bool matches(const LogEntry &e) const {
    return e.kind == kind && pattern.matches(e.id, kind == LogEntry::kEvent ? e.value : 0);
  }
};

std::string describe(const LogEntry &e) {
  if (e.kind == LogEntry::kSound)
    return "sound " + (e.id ? std::to_string(e.id) : std::string("?"));
  return "event " + std::to_string(e.id) + ":" + std::to_string(static_cast<std::int32_t>(e.value));
}

std::string describe(const Expected &e) {
  return (e.kind == LogEntry::kSound ? "sound " : "event ") + e.pattern.text();
}

template <typename T>
std::string describe_all(const std::vector<T> &entries) {
  if (entries.empty()) return "none";
  std::string s;
  for (const T &e : entries) s += (s.empty() ? "" : ", ") + describe(e);
  return s;
}

Step expect_log(const ScriptLine &line, Args &a) {
  std::vector<Expected> want;
  if (a.keyword("none")) {
    a.done();
  } else {
    if (!a.more()) throw ScriptError("expected event and sound entries or none");
    while (a.more()) {
      if (a.keyword("event")) {
        want.push_back({LogEntry::kEvent, event_pattern(a.word("an event ID[:VALUE]"))});
      } else if (a.keyword("sound")) {
        auto id = static_cast<std::int32_t>(a.integer("a WAVE id", 1, 65535));
        want.push_back({LogEntry::kSound, {id, std::nullopt}});
      } else {
        throw ScriptError("expected event or sound, got " + a.peek().text);
      }
    }
  }
  bool sounds = std::any_of(want.begin(), want.end(),
                            [](const Expected &e) { return e.kind == LogEntry::kSound; });
  return [=](ScriptRun &run) {
    if (sounds) run.host.audio().require_hearing();
    run.host.audio().when_named([=, &run, got = run.host.take_new_log()]() mutable {
      run.host.name_sounds(got);
      bool same = got.size() == want.size();
      for (std::size_t i = 0; same && i < got.size(); ++i) same = want[i].matches(got[i]);
      if (same) return run.pass();
      run.fail(line, "the log was " + describe_all(got) + ", expected " + describe_all(want));
    });
  };
}

}  // namespace

void add_log_commands(ScriptTables &tables) {
  tables.expects["log"] = expect_log;
}

}  // namespace z480
