// The module's exported descriptors: Linkage lists every gauge in registry
// order, ImportTable receives the host's panel-services pointer.
#include "frame/panel.h"

#define Z480_GAUGE(name) extern GaugeHeader name##_Header;
#include "frame/gauge_list.inc"
#undef Z480_GAUGE

extern "C" {

#if defined(_WIN32)
#define Z480_EXPORT __declspec(dllexport)
#else
#define Z480_EXPORT __attribute__((visibility("default")))
#endif

// The module needs no set-up of its own: every static starts from its
// initial value when the library is mapped. Exported beside the
// descriptors under their plain names, as the host's own modules do.
Z480_EXPORT void FSAPI module_init() {}
Z480_EXPORT void FSAPI module_deinit() {}

Z480_EXPORT GaugeImport ImportTable = {{kPanelsImportId, nullptr}, {0, nullptr}};

Z480_EXPORT GaugeLinkage Linkage = {
    kModuleId, module_init, module_deinit, 0, 0, kModuleVersion,
    {
#define Z480_GAUGE(name) &name##_Header,
#include "frame/gauge_list.inc"
#undef Z480_GAUGE
        nullptr,
    },
};
}
