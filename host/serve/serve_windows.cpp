#include "host/serve/serve_windows.h"

namespace z480 {

void WindowSets::change(Set &set, std::uint32_t ident, Host::WindowChange how) {
  bool open = how == Host::WindowChange::kOpen ||
              (how == Host::WindowChange::kToggle && set.count(ident) == 0);
  if (open)
    set.insert(ident);
  else
    set.erase(ident);
}

void WindowSets::set(std::uint64_t viewer, std::uint32_t ident, bool shown) {
  auto it = viewers_.find(viewer);
  if (it != viewers_.end())
    change(it->second, ident, shown ? Host::WindowChange::kOpen : Host::WindowChange::kClose);
}

void WindowSets::ask(std::optional<std::uint64_t> viewer, std::uint32_t ident,
                     Host::WindowChange how) {
  if (viewer) {
    // A toggle is the page's own: it opens a window another page shows.
    auto it = viewers_.find(*viewer);
    if (it != viewers_.end()) change(it->second, ident, how);
    return;
  }
  change(alone_, ident, how);
  for (auto &[id, set] : viewers_) change(set, ident, how);
}

void WindowSets::set_all(std::uint32_t ident, bool shown) {
  auto how = shown ? Host::WindowChange::kOpen : Host::WindowChange::kClose;
  change(alone_, ident, how);
  for (auto &[id, set] : viewers_) change(set, ident, how);
}

void WindowSets::keep_only(const Set &windows) {
  auto prune = [&](Set &set) { std::erase_if(set, [&](std::uint32_t w) { return !windows.count(w); }); };
  prune(alone_);
  for (auto &[id, set] : viewers_) prune(set);
}

const WindowSets::Set &WindowSets::of(std::uint64_t viewer) const {
  static const Set kNone;
  auto it = viewers_.find(viewer);
  return it == viewers_.end() ? kNone : it->second;
}

WindowSets::Set WindowSets::shown() const {
  if (viewers_.empty()) return alone_;
  Set all;
  for (const auto &[id, set] : viewers_) all.insert(set.begin(), set.end());
  return all;
}

void show_windows(Host &host, const WindowSets::Set &shown) {
  for (const PanelWindowConfig &w : host.panel_windows()) {
    bool want = shown.count(w.ident) != 0;
    if (host.window_shown(w.ident) != want) host.set_window(w.ident, want);
  }
}

}  // namespace z480
