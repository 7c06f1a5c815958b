// Script commands for the pixels an element draws itself (registered into
// the command tables at load):
//   snapshot ALIAS ELEM FILE.png            writes the element's pixels
//   expect pixel ALIAS ELEM X Y = #RRGGBB [~ TOL]
//                                           one pixel's colour; TOL is the
//                                           largest difference allowed in
//                                           each of red, green and blue
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/script.h"

namespace z480 {
namespace {

// The pixels of the element the line names; null after reporting why not.
const ElementPixels *element_pixels(ScriptRun &run, const ScriptLine &line,
                                    const std::string &alias, const ElementRef &ref) {
  Instance &inst = run.instance(line, alias);
  int i = find_element(inst, ref);
  if (i < 0) {
    run.error(line, "no such element in " + alias);
    return nullptr;
  }
  const ElementPixels *pixels = inst.pixels(static_cast<std::size_t>(i));
  if (!pixels) run.error(line, "the host gave that element of " + alias + " no pixels");
  return pixels;
}

std::string hex(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
  return text;
}

Step cmd_snapshot(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  ElementRef ref = element_ref(a.word("an element"));
  std::string file = a.more() && a.peek().quoted ? a.text("") : a.word("a PNG file name");
  a.done();
  return [=](ScriptRun &run) {
    const ElementPixels *pixels = element_pixels(run, line, alias, ref);
    std::string error;
    if (pixels && !write_png(*pixels, file, &error)) run.error(line, error);
  };
}

Step expect_pixel(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  ElementRef ref = element_ref(a.word("an element"));
  std::int64_t x = a.integer("an x pixel", 0, 65535);
  std::int64_t y = a.integer("a y pixel", 0, 65535);
  a.expect_keyword("=");
  std::string colour = a.word("a colour #RRGGBB");
  if (colour.size() != 7 || colour[0] != '#' ||
      colour.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
    throw ScriptError("expected a colour #RRGGBB, got " + colour);
  auto want = static_cast<std::uint32_t>(std::strtoul(colour.c_str() + 1, nullptr, 16));
  std::int64_t tol = 0;
  if (a.keyword("~")) tol = a.integer("a tolerance from 0 to 255 after ~", 0, 255);
  a.done();
  return [=](ScriptRun &run) {
    const ElementPixels *pixels = element_pixels(run, line, alias, ref);
    if (!pixels) return;
    auto got = pixels->pixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
    if (!got) return run.fail(line, "pixel " + std::to_string(x) + "," + std::to_string(y) +
                                        " lies outside the element");
    std::int64_t worst = 0;
    for (int shift : {16, 8, 0}) {
      std::int64_t d = std::llabs(static_cast<std::int64_t>((*got >> shift) & 0xFF) -
                                  static_cast<std::int64_t>((want >> shift) & 0xFF));
      worst = d > worst ? d : worst;
    }
    if (worst <= tol) return run.pass();
    run.fail(line, "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " + hex(*got) +
                       " (alpha " + std::to_string(*got >> 24) + "), expected " + colour);
  };
}

[[maybe_unused]] const bool kRegistered = [] {
  command_table()["snapshot"] = cmd_snapshot;
  expect_table()["pixel"] = expect_pixel;
  return true;
}();

}  // namespace
}  // namespace z480
