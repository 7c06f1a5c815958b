#include "host/script/host_catalogue.h"

#include <algorithm>
#include <array>

#include "frame/host_names.h"

namespace z480 {
namespace {

struct Named {
  std::string_view name;
  std::int32_t number;
};

// Generated from frame/host_names.h (host/script/CMakeLists.txt).
constexpr Named kTokens[] = {
#include "host_catalogue_tokens.inc"
};
constexpr Named kEvents[] = {
#include "host_catalogue_events.inc"
};

template <std::size_t N>
constexpr std::array<Named, N> sorted(const Named (&table)[N]) {
  std::array<Named, N> out;
  std::copy(std::begin(table), std::end(table), out.begin());
  std::sort(out.begin(), out.end(), [](const Named &a, const Named &b) { return a.name < b.name; });
  return out;
}
constexpr auto kSortedTokens = sorted(kTokens);
constexpr auto kSortedEvents = sorted(kEvents);

template <std::size_t N>
std::optional<std::int32_t> find(const std::array<Named, N> &table, std::string_view name) {
  auto it = std::lower_bound(table.begin(), table.end(), name,
                             [](const Named &n, std::string_view key) { return n.name < key; });
  if (it == table.end() || it->name != name) return std::nullopt;
  return it->number;
}

}  // namespace

std::optional<std::int32_t> catalogue_token(std::string_view name) { return find(kSortedTokens, name); }
std::optional<std::int32_t> catalogue_event(std::string_view name) { return find(kSortedEvents, name); }

}  // namespace z480
