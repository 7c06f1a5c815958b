#include "host/core/mouse.h"

#include <vector>

namespace z480 {
namespace {

bool box_holds(PixPoint origin, const PixBox &b, PixPoint p) {
  return p.x >= origin.x && p.y >= origin.y && p.x < origin.x + b.size_x &&
         p.y < origin.y + b.size_y;
}

struct Group {
  PixPoint origin;
  bool holds;  // the point lies inside this group and every group around it
  std::int32_t help_id;
  const MouseRect *tooltip;
};

// Walks the list, calling visit(record, enclosing group, child origin) for
// each record while keeping the stack of open parents.
template <typename Visit>
void walk(const MouseRect *list, PixPoint point, Visit visit) {
  if (!list) return;
  std::vector<Group> open;
  for (int i = 0; i < kMaxMouseRecords && list[i].rect_type != kMouseEnd; ++i) {
    const MouseRect &r = list[i];
    PixPoint base = open.empty() ? PixPoint{0, 0} : open.back().origin;
    bool outer_holds = open.empty() || open.back().holds;
    switch (r.rect_type) {
      case kMouseParent: {
        PixPoint origin{base.x + r.relative_box.x, base.y + r.relative_box.y};
        bool whole = r.relative_box.size_x == 0 && r.relative_box.size_y == 0;
        bool holds = outer_holds && (whole || box_holds(origin, r.relative_box, point));
        open.push_back({origin, holds, r.help_id, nullptr});
        break;
      }
      case kMouseEndParent:
        if (!open.empty()) open.pop_back();
        break;
      case kMouseTooltip:
        if (!open.empty()) open.back().tooltip = &r;
        break;
      default:
        break;
    }
    if (!visit(r, open, base, outer_holds)) return;
  }
}

}  // namespace

MouseHit find_mouse_target(MouseRect *list, PixPoint point, std::uint32_t flags) {
  MouseHit hit;
  walk(list, point, [&](const MouseRect &r, const std::vector<Group> &, PixPoint base, bool holds) {
    if (r.rect_type != kMouseChild || !holds || (r.mouse_flags & flags) == 0) return true;
    PixPoint origin{base.x + r.relative_box.x, base.y + r.relative_box.y};
    if (!box_holds(origin, r.relative_box, point)) return true;
    hit.rect = const_cast<MouseRect *>(&r);
    hit.origin = origin;
    return false;
  });
  return hit;
}

std::vector<MouseTarget> mouse_targets(const MouseRect *list) {
  std::vector<MouseTarget> targets;
  walk(list, PixPoint{0, 0}, [&](const MouseRect &r, const std::vector<Group> &, PixPoint base, bool) {
    if (r.rect_type == kMouseChild && r.relative_box.size_x > 0 && r.relative_box.size_y > 0)
      targets.push_back({{base.x + r.relative_box.x, base.y + r.relative_box.y, r.relative_box.size_x,
                          r.relative_box.size_y},
                         r.cursor, r.mouse_flags});
    return true;
  });
  return targets;
}

namespace {
// The innermost group holding the point that satisfies want, searched at the
// moment each group closes (its tooltip record may come after its children).
template <typename Want>
const Group *innermost(const MouseRect *list, PixPoint point, Want want, Group *out) {
  const Group *found = nullptr;
  int found_depth = -1;
  std::vector<Group> last_open;
  walk(list, point, [&](const MouseRect &r, const std::vector<Group> &open, PixPoint, bool) {
    if (r.rect_type == kMouseEndParent && last_open.size() > open.size()) {
      const Group &closing = last_open.back();
      int depth = static_cast<int>(open.size());
      if (closing.holds && want(closing) && depth > found_depth) {
        *out = closing;
        found = out;
        found_depth = depth;
      }
    }
    last_open = open;
    return true;
  });
  return found;
}
}  // namespace

std::int32_t help_at(const MouseRect *list, PixPoint point) {
  Group g{};
  const Group *found = innermost(list, point, [](const Group &x) { return x.help_id != 0; }, &g);
  return found ? found->help_id : 0;
}

const MouseRect *tooltip_at(const MouseRect *list, PixPoint point) {
  Group g{};
  const Group *found =
      innermost(list, point, [](const Group &x) { return x.tooltip != nullptr; }, &g);
  return found ? found->tooltip : nullptr;
}

}  // namespace z480
