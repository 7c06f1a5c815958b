// A placed gauge: the host's own copy of the gauge's header, element tree,
// needle tables, string buffers and mouse list, so per-instance rewrites stay
// with the instance while the module's statics stay shared.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/panel.h"
#include "host/core/pixels.h"

namespace z480 {

// Where the panel configuration put an instance: its window and its box in
// that window's coordinates.
struct Placement {
  std::uint32_t window = 0;
  int x = 0, y = 0;
  int width = 0;               // the configuration's, or the gauge's own mm
  std::optional<int> height;   // nothing: as the background bitmap's proportions give
};

// What the host took from one element at the last frame: the snapshot the
// renderer (and anything else that shows a frame) draws from, so that no
// element callback ever runs twice.
struct ElementView {
  std::int32_t kind = 0;
  double value = 0;   // needle, icon, string: the value after the callback
  double x = 0;       // slider and sprite: pixels moved; moving image: the value
  double y = 0;
  double angle = 0;   // sprite: degrees turned
  double needle = 0;  // needle: degrees clockwise from up, [0, 360)
  std::int32_t image = -1;  // icon: the image drawn, -1 for none
  std::int32_t failure = 0;  // the failure action in force (kFailAction...)
  std::string text;

  // The element as it stood after its callback.
  std::int32_t bitmap = 0;    // resource id
  PixPoint position{};
  PixPoint ofs{};             // needle pivot in its bitmap; sprite texture centre
  std::uint32_t flags = 0;    // image flags
  bool table = false;         // needle: turned through a table
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;  // moving image ranges
  double texture_scale_x = 1, texture_scale_y = 1;    // sprite
  PixPoint box{};                                     // string: text box
  std::uint32_t text_color = 0, background_color = 0;  // string: 0x00BBGGRR
  std::uint32_t draw_text_flags = 0;
  std::string font;
};

class Instance {
 public:
  // Copies the gauge's records; returns null and says why when the records
  // cannot be read (unknown element kind, a tree too large or looping).
  static std::unique_ptr<Instance> create(GaugeHeader *gauge, std::string alias,
                                          std::optional<std::string> parameters,
                                          std::string *error);

  const std::string &alias() const { return alias_; }
  GaugeHeader *header() { return &header_; }
  GaugeHeader *source() const { return source_; }
  // Elements in drawing order: parent before children, children in list order.
  const std::vector<GaugeElement *> &elements() const { return order_; }
  std::vector<ElementView> &views() { return views_; }
  const std::vector<ElementView> &views() const { return views_; }
  MouseRect *mouse() { return mouse_.empty() ? nullptr : mouse_.data(); }
  // The pixel buffer of the element at that place in drawing order, null
  // when the host gave it none.
  ElementPixels *pixels(std::size_t index) const {
    return index < pixels_.size() ? pixels_[index].get() : nullptr;
  }
  void give_pixels(std::size_t index, std::unique_ptr<ElementPixels> pixels) {
    if (pixels_.size() <= index) pixels_.resize(index + 1);
    pixels_[index] = std::move(pixels);
  }
  // Nothing for an instance placed outside any window (always connected).
  const std::optional<Placement> &placement() const { return placement_; }
  void set_placement(Placement p) { placement_ = p; }
  // Whether the host has connected it to its window (service 14 without a
  // 15 since).
  bool connected() const { return connected_; }
  void set_connected(bool on) { connected_ = on; }
  // How often each header routine (Routine, host.h) handed the host this
  // instance's own root element.
  std::array<int, 7> &routines_reached() { return routines_reached_; }

  Instance(const Instance &) = delete;
  Instance &operator=(const Instance &) = delete;

 private:
  Instance() = default;
  GaugeElement *copy_tree(GaugeElement *e, int depth, std::string *error);

  std::string alias_;
  std::optional<std::string> parameters_;
  GaugeHeader *source_ = nullptr;
  GaugeHeader header_{};
  GaugeElement *root_list_[2] = {nullptr, nullptr};
  std::vector<std::unique_ptr<unsigned char[]>> storage_;
  std::vector<std::unique_ptr<GaugeElement *[]>> child_lists_;
  std::vector<std::unique_ptr<NonlinearityEntry[]>> tables_;
  std::vector<std::unique_ptr<char[]>> strings_;
  std::vector<GaugeElement *> order_;
  std::vector<ElementView> views_;
  std::vector<MouseRect> mouse_;
  std::vector<std::unique_ptr<ElementPixels>> pixels_;
  std::optional<Placement> placement_;
  bool connected_ = false;
  std::array<int, 7> routines_reached_{};
};

// Records in the view what an element itself holds after its callback (which
// may have changed its flags, token or bitmap): bitmap, position, flags and
// what its kind needs to be drawn.
void record_element(const GaugeElement &e, ElementView &v);

// How far the host reads a gauge's element tree, both when it checks a
// module's records at load and when it copies them for an instance: so deep,
// so many elements, so many children to a list, so many needle table entries
// (a longer table is cut there).
inline constexpr int kMaxElementDepth = 64;
inline constexpr std::size_t kMaxElements = 4096;
inline constexpr std::size_t kMaxChildren = 256;
inline constexpr std::uint32_t kMaxTableEntries = 1024;

// Size of the record of an element kind, 0 for an unknown kind.
std::size_t element_record_size(std::int32_t kind);
// The kind's name ("needle"), or "unknown kind".
const char *element_kind_name(std::int32_t kind);
// The bytes of a string element's text buffer: its record's length, the
// terminator included (one at least).
std::size_t string_buffer_size(const StringElement &s);

}  // namespace z480
