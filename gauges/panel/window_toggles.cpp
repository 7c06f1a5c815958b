// The panel window toggles: thirteen 19 mm hot spots that open, close and
// toggle the panel's sub-windows and a few host windows.
// Three are pure data: the host sends their key event itself on a click
// (kEventAtcWindowToggle, kEventKneeboardToggle, kEventMapToggle). The other
// ten share one behaviour, set per placement by the parameter string: at
// install b (the picture) and h (the tooltip) and, once per header, a (close
// a window); on a click o, c and t (open, close, toggle windows:
// kEventPanelIdOpen, kEventPanelIdClose, kEventPanelIdToggle) and p (panel
// steps: kEventPanelStepForward, kEventPanelStepBack, kEventPanelStepReset);
// with no string at all a click toggles the main panel.
// Reads no host variables; no module-wide variables.
#include <iterator>

#include "frame/declare.h"
#include "frame/params.h"
#include "frame/services.h"

extern GaugeHeader ATC_Toggle_Header;
extern GaugeHeader Kneeboard_Toggle_Header;
extern GaugeHeader Map_Toggle_Header;
extern GaugeHeader Invisible_Toggle_Header;
extern GaugeHeader Overhead_Toggle_Header;
extern GaugeHeader Close_Subpanel_Header;
extern GaugeHeader Radios_Toggle_Header;
extern GaugeHeader Landing_View_Toggle_Header;
extern GaugeHeader GPS_Toggle_Header;
extern GaugeHeader Throttle_Toggle_Header;
extern GaugeHeader Electricity_Toggle_Header;
extern GaugeHeader Compass_Toggle_Header;
extern GaugeHeader Nav_Instruments_Toggle_Header;

namespace {
constexpr std::uint32_t kMainPanel = 0;
constexpr std::uint32_t kToggleSizeMm = 19;
constexpr PixBox kClickBox = {3, 3, 13, 13};
constexpr std::int32_t kNoHelp = 0;
constexpr std::int32_t kSharedBehaviour = 0;  // no event of its own: the toggle routine

struct ToggleKind {
  const char *name;
  GaugeHeader *self;
  std::int32_t bitmap;
  std::int32_t help_id;
  std::int32_t event;  // sent by the host on a click, or kSharedBehaviour
};

constexpr ToggleKind kToggles[] = {
    {"ATC_Toggle", &ATC_Toggle_Header, 90, 43924, kEventAtcWindowToggle},
    {"Kneeboard_Toggle", &Kneeboard_Toggle_Header, 70, 43923, kEventKneeboardToggle},
    {"Map_Toggle", &Map_Toggle_Header, 80, 43919, kEventMapToggle},
    {"Invisible_Toggle", &Invisible_Toggle_Header, 100, kNoHelp, kSharedBehaviour},
    {"Overhead_Toggle", &Overhead_Toggle_Header, 110, 43925, kSharedBehaviour},
    {"Close_Subpanel", &Close_Subpanel_Header, 120, kNoHelp, kSharedBehaviour},
    {"Radios_Toggle", &Radios_Toggle_Header, 130, 43910, kSharedBehaviour},
    {"Landing_View_Toggle", &Landing_View_Toggle_Header, 150, kNoHelp, kSharedBehaviour},
    {"GPS_Toggle", &GPS_Toggle_Header, 160, 43911, kSharedBehaviour},
    {"Throttle_Toggle", &Throttle_Toggle_Header, 170, 43912, kSharedBehaviour},
    {"Electricity_Toggle", &Electricity_Toggle_Header, 180, kNoHelp, kSharedBehaviour},
    {"Compass_Toggle", &Compass_Toggle_Header, 190, 43913, kSharedBehaviour},
    {"Nav_Instruments_Toggle", &Nav_Instruments_Toggle_Header, 200, kNoHelp, kSharedBehaviour},
};

// Install: the picture and tooltip at every install; the a key only once
// for as long as the host keeps this header, marked in its user-data word.
void FSAPI toggle_install(GaugeHeader *gauge, std::int32_t service, ServiceData) {
  if (service != kServiceInstall) return;
  param_apply_install_keys(gauge);
  if (gauge && gauge->user_data == 0) {
    param_apply_auto_close(gauge);
    gauge->user_data = 1;
  }
}

// A click acts on the clicked instance's own string; a toggle placed without
// one toggles the main panel.
std::int32_t FSAPI toggle_click(MouseCallbackRecord *click, std::uint32_t) {
  GaugeHeader *gauge = click ? click->gauge : nullptr;
  if (param_apply_panel_actions(gauge) == 0) toggle_panel_window(kMainPanel);
  return 0;
}

constexpr std::size_t kind_index(const GaugeHeader *self) {
  std::size_t i = 0;
  while (i < std::size(kToggles) && kToggles[i].self != self) ++i;
  return i;
}

constexpr MouseRect click_rect(const ToggleKind &kind) {
  if (kind.event != kSharedBehaviour)
    return mouse_event(kClickBox, kCursorHand, kMouseLeftSingle, kind.event);
  return mouse_callback(kClickBox, kCursorHand, kMouseLeftSingle, toggle_click);
}

// The records of one toggle, drawn from its row of the table.
template <GaugeHeader *Self>
struct Toggle {
  static constexpr std::size_t kIndex = kind_index(Self);
  static_assert(kIndex < std::size(kToggles), "every toggle header has a row in the table");
  static constexpr const ToggleKind &kind = kToggles[kIndex];

  struct Parts {
    StaticImageElement background =
        static_image({.bitmap = kind.bitmap, .flags = kImageStandard, .gauge = Self});
  };
  static constinit inline DrawOrder<Parts, &Parts::background> tree{};
  static constinit inline MouseRect mouse[] = {
      mouse_parent({0, 0, 0, 0}, kind.help_id),
      click_rect(kind),
      mouse_end_parent(),
      mouse_end(),
  };

  static constexpr GaugeHeader header() {
    return gauge_header<Self>({.name = kind.name,
                         .elements = tree.elements,
                         .size_mm = kToggleSizeMm,
                         .mouse = mouse,
                         .callback = kind.event == kSharedBehaviour ? toggle_install : nullptr});
  }
};
}  // namespace

GaugeHeader ATC_Toggle_Header = Toggle<&ATC_Toggle_Header>::header();
GaugeHeader Kneeboard_Toggle_Header = Toggle<&Kneeboard_Toggle_Header>::header();
GaugeHeader Map_Toggle_Header = Toggle<&Map_Toggle_Header>::header();
GaugeHeader Invisible_Toggle_Header = Toggle<&Invisible_Toggle_Header>::header();
GaugeHeader Overhead_Toggle_Header = Toggle<&Overhead_Toggle_Header>::header();
GaugeHeader Close_Subpanel_Header = Toggle<&Close_Subpanel_Header>::header();
GaugeHeader Radios_Toggle_Header = Toggle<&Radios_Toggle_Header>::header();
GaugeHeader Landing_View_Toggle_Header = Toggle<&Landing_View_Toggle_Header>::header();
GaugeHeader GPS_Toggle_Header = Toggle<&GPS_Toggle_Header>::header();
GaugeHeader Throttle_Toggle_Header = Toggle<&Throttle_Toggle_Header>::header();
GaugeHeader Electricity_Toggle_Header = Toggle<&Electricity_Toggle_Header>::header();
GaugeHeader Compass_Toggle_Header = Toggle<&Compass_Toggle_Header>::header();
GaugeHeader Nav_Instruments_Toggle_Header = Toggle<&Nav_Instruments_Toggle_Header>::header();
