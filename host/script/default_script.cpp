#include <cstring>

#include "host/script/host_resources.h"
#include "host/script/script.h"
#include "platform/resources.h"

extern "C" const platform::ResourceDirectory Z480_HostResources;

namespace z480 {

std::string_view host_resource(const char *type, std::uint32_t id) {
  for (std::uint32_t i = 0; i < Z480_HostResources.count; ++i) {
    const platform::ResourceEntry &e = Z480_HostResources.entries[i];
    if (e.type && std::strcmp(e.type, type) == 0 && e.id == id)
      return {reinterpret_cast<const char *>(e.data), e.size};
  }
  return {};
}

// host/script/default.z480 is SCRIPT 1, panel/panel.cfg PANEL 1.
std::string_view default_script() { return host_resource("SCRIPT", 1); }
std::string_view default_panel() { return host_resource("PANEL", 1); }

}  // namespace z480
