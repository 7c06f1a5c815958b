// The module's exported descriptors: Linkage lists every gauge in registry
// order, ImportTable receives the host's panel-services pointer.
#include "frame/panel.h"

#define Z480_GAUGE(name) extern GaugeHeader name##_Header;
#include "frame/gauge_list.inc"
#undef Z480_GAUGE

namespace {
// The module needs no set-up of its own: every static starts from its
// initial value when the library is mapped.
void FSAPI module_start() {}
void FSAPI module_stop() {}
}  // namespace

extern "C" {

#if defined(_WIN32)
#define Z480_EXPORT __declspec(dllexport)
#else
#define Z480_EXPORT __attribute__((visibility("default")))
#endif

Z480_EXPORT GaugeImport ImportTable = {{kPanelsImportId, nullptr}, {0, nullptr}};

Z480_EXPORT GaugeLinkage Linkage = {
    kModuleId, module_start, module_stop, 0, 0, kModuleVersion,
    {
#define Z480_GAUGE(name) &name##_Header,
#include "frame/gauge_list.inc"
#undef Z480_GAUGE
        nullptr,
    },
};
}
