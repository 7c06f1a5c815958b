// Script commands for the pixels an element draws itself and for the
// pictures a script drew (registered into the command tables at load):
//   snapshot ALIAS ELEM FILE.png|FILE.bmp   writes the element's pixels
//   expect pixel ALIAS ELEM X Y = #RRGGBB [~ TOL]
//                                           one pixel's colour; TOL is the
//                                           largest difference allowed in
//                                           each of red, green and blue
//   expect pixel ALIAS ELEM any|no = #RRGGBB [~ TOL]
//                                           some pixel of the element has
//                                           that colour, or none has (for
//                                           what moves: traffic on a screen)
//   expect picture FILE.png size = W H      a PNG file's size in pixels
//   expect picture FILE.png X Y = #RRGGBB [~ TOL]
//                                           one pixel of a PNG file (a
//                                           relative FILE in the run's out
//                                           directory)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/render/png.h"
#include "host/script/flight_report.h"
#include "host/script/script.h"

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
  std::string file = a.more() && a.peek().quoted ? a.text("") : a.word("a PNG or BMP file name");
  bool bmp = file.size() > 4 && (file.ends_with(".bmp") || file.ends_with(".BMP"));
  a.done();
  return [=](ScriptRun &run) {
    const ElementPixels *pixels = element_pixels(run, line, alias, ref);
    std::string error;
    if (pixels && !(bmp ? write_bmp : write_png)(*pixels, report_file(run, file).string(), &error))
      run.error(line, error);
  };
}

// The colour a check asks for: #RRGGBB [~ TOL].
struct Colour {
  std::string text;
  std::uint32_t rgb = 0;
  std::int64_t tol = 0;
};

Colour colour_after_equals(Args &a) {
  a.expect_keyword("=");
  Colour c;
  c.text = a.word("a colour #RRGGBB");
  if (c.text.size() != 7 || c.text[0] != '#' ||
      c.text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
    throw ScriptError("expected a colour #RRGGBB, got " + c.text);
  c.rgb = static_cast<std::uint32_t>(std::strtoul(c.text.c_str() + 1, nullptr, 16));
  if (a.keyword("~")) c.tol = a.integer("a tolerance from 0 to 255 after ~", 0, 255);
  return c;
}

bool matches(std::uint32_t got, const Colour &want) {
  for (int shift : {16, 8, 0}) {
    std::int64_t d = std::llabs(static_cast<std::int64_t>((got >> shift) & 0xFF) -
                                static_cast<std::int64_t>((want.rgb >> shift) & 0xFF));
    if (d > want.tol) return false;
  }
  return true;
}

// Whether some pixel of the element has the colour.
bool any_pixel(const ElementPixels &pixels, const Colour &want) {
  for (std::int32_t y = 0; y < pixels.height; ++y)
    for (std::int32_t x = 0; x < pixels.width; ++x)
      if (auto got = pixels.pixel(x, y); got && matches(*got, want)) return true;
  return false;
}

Step expect_some_pixel(const ScriptLine &line, const std::string &alias, const ElementRef &ref,
                       bool some, Args &a) {
  Colour want = colour_after_equals(a);
  a.done();
  return [=](ScriptRun &run) {
    const ElementPixels *pixels = element_pixels(run, line, alias, ref);
    if (!pixels) return;
    if (any_pixel(*pixels, want) == some) return run.pass();
    run.fail(line, std::string(some ? "no pixel" : "a pixel") + " of the element is " + want.text);
  };
}

Step expect_pixel(const ScriptLine &line, Args &a) {
  std::string alias = a.word("an instance alias");
  ElementRef ref = element_ref(a.word("an element"));
  if (a.keyword("any")) return expect_some_pixel(line, alias, ref, true, a);
  if (a.keyword("no")) return expect_some_pixel(line, alias, ref, false, a);
  std::int64_t x = a.integer("an x pixel", 0, 65535);
  std::int64_t y = a.integer("a y pixel", 0, 65535);
  Colour want = colour_after_equals(a);
  a.done();
  return [=](ScriptRun &run) {
    const ElementPixels *pixels = element_pixels(run, line, alias, ref);
    if (!pixels) return;
    auto got = pixels->pixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
    if (!got) return run.fail(line, "pixel " + std::to_string(x) + "," + std::to_string(y) +
                                        " lies outside the element");
    if (matches(*got, want)) return run.pass();
    run.fail(line, "pixel " + std::to_string(x) + "," + std::to_string(y) + " is " + hex(*got) +
                       " (alpha " + std::to_string(*got >> 24) + "), expected " + want.text);
  };
}

Step expect_picture(const ScriptLine &line, Args &a) {
  std::string file = a.more() && a.peek().quoted ? a.text("") : a.word("a PNG file name");
  bool size = a.keyword("size");
  std::int64_t x = 0, y = 0;
  Colour want;
  if (size) {
    a.expect_keyword("=");
    x = a.integer("a width in pixels", 0, 65535);
    y = a.integer("a height in pixels", 0, 65535);
  } else {
    x = a.integer("an x pixel or size", 0, 65535);
    y = a.integer("a y pixel", 0, 65535);
    want = colour_after_equals(a);
  }
  a.done();
  return [=](ScriptRun &run) {
    std::optional<Pixels> picture = read_png(report_file(run, file).string());
    if (!picture) return run.fail(line, "cannot read the picture " + printable(file));
    std::string at = std::to_string(x) + "," + std::to_string(y);
    if (size) {
      if (picture->width == x && picture->height == y) return run.pass();
      return run.fail(line, "the picture is " + std::to_string(picture->width) + " by " +
                                std::to_string(picture->height) + " pixels, expected " +
                                std::to_string(x) + " by " + std::to_string(y));
    }
    if (x >= picture->width || y >= picture->height)
      return run.fail(line, "pixel " + at + " lies outside the picture");
    std::uint32_t got = picture->at(static_cast<int>(x), static_cast<int>(y));
    if (matches(got, want)) return run.pass();
    run.fail(line, "pixel " + at + " of the picture is " + hex(got) + ", expected " + want.text);
  };
}

}  // namespace

void add_pixel_commands(ScriptTables &tables) {
  tables.commands["snapshot"] = cmd_snapshot;
  tables.expects["pixel"] = expect_pixel;
  tables.expects["picture"] = expect_picture;
}

}  // namespace z480
