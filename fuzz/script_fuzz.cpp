// Arbitrary text through the panel-script tokenizer and parser, and what
// parses run against the real module: every input is a syntax error or a
// script that runs to its end, its failures and errors reported, never a
// crash or a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "fuzz/fuzz_module.h"
#include "host/script/script.h"

namespace {
// Frames and clicks an input may run: a script may ask for millions.
constexpr std::uint64_t kWorkLimit = 400;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string source(reinterpret_cast<const char *>(data), size);
  std::vector<z480::Step> steps;
  try {
    steps = z480::parse_script(z480::tokenize_script("fuzz", source));
  } catch (const z480::ScriptError &) {
    return 0;
  }
  std::ostream discard(nullptr);
  z480::ScriptRun run(fuzz_module(), discard);
  run.host.limit_work(kWorkLimit);
  for (const z480::Step &step : steps) step(run);
  return 0;
}
