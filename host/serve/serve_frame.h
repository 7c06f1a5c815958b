// What a page is sent of each frame: the snapshot the host recorded for
// every element of a shown gauge (host/core/instance.h ElementView), cut to
// what the renderer draws from. The encoder keeps each gauge's elements with
// a version, so a page gets the fields that changed since the version it
// holds, a gauge it does not hold in full, and the pixels an element drew
// for itself (the radar's screen, a PNG) only when they change. What is sent
// to one page is worked out once a frame for all of them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/core/instance.h"

namespace z480 {

// The numbers of an element as the page reads them, then its two texts.
enum ElementField : int {
  kFieldKind, kFieldBitmap, kFieldX, kFieldY, kFieldFlags, kFieldFailure, kFieldImage,
  kFieldNeedle, kFieldTable, kFieldPivotX, kFieldPivotY, kFieldMoveX, kFieldMoveY, kFieldMinX,
  kFieldMaxX, kFieldMinY, kFieldMaxY, kFieldAngle, kFieldScaleX, kFieldScaleY, kFieldBoxX,
  kFieldBoxY, kFieldTextColour, kFieldBackColour, kFieldTextFlags, kFieldPixels,
  kNumberFields,
  kFieldText = kNumberFields, kFieldFont, kElementFields
};

struct ElementState {
  // Rounded to a thousandth (of a pixel, a degree): finer draws the same.
  std::array<double, kNumberFields> number{};
  std::string text, font;
  // A number that is none equals itself here: it draws the same each frame.
  bool operator==(const ElementState &other) const;
};

// The view as the page draws it; pixels is the version of the element's own
// pixels, 0 for none.
ElementState element_state(const ElementView &v, std::uint64_t pixels);

// A field as JSON: whole numbers as integers, a number that is none as null.
nlohmann::json field_json(const ElementState &e, int field);

// What one page holds: per gauge the version it has, per element that draws
// itself the version of its pixels.
struct PageCopy {
  std::vector<std::uint64_t> gauges;
  std::map<std::pair<std::size_t, std::size_t>, std::uint64_t> pixels;
};

class FrameEncoder {
 public:
  // Forgets every gauge; the next capture starts from nothing. Pages must
  // forget what they hold as well.
  void reset(std::size_t gauges);
  // Takes a gauge's elements from the frame (null: its window is closed).
  void capture(std::size_t gauge, Instance *inst);

  // The gauges that changed for a page, as {"INDEX": [0, element...]} in full
  // or {"INDEX": [1, [element, field, value, ...]...]} as changes, for the
  // gauges it shows; the pixels it lacks are added to binary (each: gauge,
  // element and version as 32-bit little-endian words, then the PNG).
  nlohmann::json update(PageCopy &copy, const std::vector<bool> &shows,
                        std::vector<std::string> *binary);
  // A gauge the page stops showing: sent in full when it shows it again.
  static void forget(PageCopy &copy, std::size_t gauge);

  std::uint64_t version(std::size_t gauge) const { return gauges_.at(gauge).version; }

 private:
  struct Pixels {
    std::size_t hash = 0;
    std::uint64_t version = 0;
    std::string png;  // of that version, made when a page first needs it
    const ElementPixels *source = nullptr;
  };
  struct Gauge {
    std::vector<ElementState> elements;
    bool shown = false;
    std::uint64_t version = 0;
    std::uint64_t previous = 0;  // the version the changes start from
    nlohmann::json changes;      // from previous to version
    nlohmann::json full;     // of full_version
    std::uint64_t full_version = 0;
    std::map<std::size_t, Pixels> pixels;  // by element
  };
  const nlohmann::json &full(Gauge &g);
  std::uint64_t pixels_version(Gauge &g, std::size_t element, const ElementPixels &p);

  std::vector<Gauge> gauges_;
  std::uint64_t next_version_ = 1;
};

}  // namespace z480
