// Which panel windows each page shows. Every page opens, closes, moves and
// raises its own; the host shows the windows that any page shows (a window
// no page shows neither updates nor draws) and, while no page is open, the
// windows it showed before the first one came.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>

#include "host/core/host.h"

namespace z480 {

class WindowSets {
 public:
  using Set = std::set<std::uint32_t>;

  explicit WindowSets(Set alone = {}) : alone_(std::move(alone)) {}

  void join(std::uint64_t viewer, Set shown) { viewers_[viewer] = std::move(shown); }
  void leave(std::uint64_t viewer) { viewers_.erase(viewer); }
  // The page's own choice.
  void set(std::uint64_t viewer, std::uint32_t ident, bool shown);
  // What the module asked while it answered that page's mouse; with no page,
  // the panel asked by itself (in a frame), which every page sees.
  void ask(std::optional<std::uint64_t> viewer, std::uint32_t ident, Host::WindowChange change);
  // Every page's windows at once (a request of no page).
  void set_all(std::uint32_t ident, bool shown);
  // Keeps only the windows the panel has (after it was loaded again).
  void keep_only(const Set &windows);

  // Empty for a page that is not open.
  const Set &of(std::uint64_t viewer) const;
  // What the host should show.
  Set shown() const;
  std::size_t viewers() const { return viewers_.size(); }

 private:
  static void change(Set &set, std::uint32_t ident, Host::WindowChange how);
  Set alone_;
  std::map<std::uint64_t, Set> viewers_;
};

// Makes the host show exactly these of its panel's windows.
void show_windows(Host &host, const WindowSets::Set &shown);

}  // namespace z480
