// The host's names as a script writes them: every host variable of
// frame/host_names.h by its name without the kVar prefix (IndicatedAirspeed
// for kVarIndicatedAirspeed), every key event by its name without the k
// (EventBatteryMasterToggle). The table is made at build time from that
// header, so a name added there is a script's name at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace z480 {

std::optional<std::int32_t> catalogue_token(std::string_view name);
std::optional<std::int32_t> catalogue_event(std::string_view name);

}  // namespace z480
