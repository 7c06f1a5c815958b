#include <cstring>

#include "host/script.h"
#include "platform/resources.h"

// The host's own resources, embedded at build time: host/default.z480 is
// SCRIPT 1, panel/panel.cfg PANEL 1.
extern "C" const platform::ResourceDirectory Z480_HostResources;

namespace z480 {

namespace {
std::string_view host_resource(const char *type) {
  for (std::uint32_t i = 0; i < Z480_HostResources.count; ++i) {
    const platform::ResourceEntry &e = Z480_HostResources.entries[i];
    if (e.type && std::strcmp(e.type, type) == 0 && e.id == 1)
      return {reinterpret_cast<const char *>(e.data), e.size};
  }
  return {};
}
}  // namespace

std::string_view default_script() { return host_resource("SCRIPT"); }
std::string_view default_panel() { return host_resource("PANEL"); }

}  // namespace z480
