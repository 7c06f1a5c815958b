// Tooltip text of a type-4 mouse record: the host's numbered-argument format
// ("%1!s!", "RANGE: %2!.0f!") filled from the record's argument list.
#pragma once

#include <functional>
#include <string>

#include "frame/panel.h"

namespace z480 {

inline constexpr std::size_t kMaxTooltipText = 80;
// A module's format string and argument list, as long as the host takes
// them: the format is read to its NUL, and an argument is named by number.
inline constexpr std::size_t kMaxTooltipFormat = 1024;
inline constexpr std::int32_t kMaxTooltipArguments = 99;

// read_var fills a module-variable record as lookup_var does. A record with
// no format string yields "" (its help id names a host text instead).
std::string format_tooltip(const MouseRect &record, GaugeHeader *gauge,
                           const std::function<void(ModuleVar *)> &read_var);

}  // namespace z480
