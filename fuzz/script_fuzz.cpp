// Arbitrary text through the panel-script tokenizer and parser: every input
// is either a list of steps or a syntax error, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string source(reinterpret_cast<const char *>(data), size);
  try {
    z480::parse_script(z480::tokenize_script("fuzz", source));
  } catch (const z480::ScriptError &) {
  }
  return 0;
}
