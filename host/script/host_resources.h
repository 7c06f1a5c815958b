// Files embedded into the host at build time (host/script/CMakeLists.txt: the default
// script, the aircraft's panel configuration, the scenario scripts and the
// served page), found by type and id.
#pragma once

#include <cstdint>
#include <string_view>

namespace z480 {

// The bytes of the embedded file, or empty when the host carries none.
std::string_view host_resource(const char *type, std::uint32_t id);

}  // namespace z480
