// Radar: a heading-up traffic display. A round 192 x 192 screen shows the
// aircraft around the user's, each a small circle coloured by how soon it
// would meet the user (green, yellow within 35 s, red within 20 s, white
// with its engines stopped), with a velocity line and its relative altitude
// in hundreds of feet; two range rings, a cross and the diagonals lie over
// them. Up and down buttons set the range from 1.875 to 120 nm (shown in
// the label), a switch powers the screen, and the mouse over a symbol shows
// its ATC id, altitude, speed, track and distance as a tooltip. The picture
// is drawn once a second whenever the bus is above 10 V; the cover hides it
// below 20 V or with the switch off.
// Reads: kVarBusVoltage, the bus voltage; kVarElectricalFailure, screen
// blanking (exactly 1 blanks); kVarPlaneHeading, the heading; kVarTickCount,
// the tick counter (18 a second, an unsigned 32-bit count); the traffic
// through the host's traffic interface.
// Sends: no key events; the power switch clicks.
// Module-wide: none (the power switch is the kind's own).
#include <cstring>
#include <new>

#include "frame/boundary.h"
#include "frame/declare.h"
#include "frame/host_names.h"
#include "frame/numeric.h"
#include "frame/services.h"
#include "radar/radar_display.h"
#include "sound/click.h"

extern GaugeHeader Radar_Header;

namespace {
constexpr GaugeHeader *kSelf = &Radar_Header;

constexpr std::uint32_t kTicksPerSecond = 18;
constexpr double kScreenVolts = 20.0;  // below this the cover stays
constexpr std::int32_t kScreenSide = 192;

constexpr std::uint32_t kGreenText = 0x00FF00;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint8_t kCharsetDefault = 1;
constexpr std::uint32_t kCentredSingleLine = 37;
constexpr std::uint16_t kLabelCharacters = 6;

// The power switch, shared by every placed radar.
int Radar_Power_On = 0;
ClickSound click;

// The instance's display lives in the first word of the header's scratch
// area, which the host keeps per instance for the gauge's author and never
// writes itself (it starts at 0: no display).
static_assert(sizeof(RadarDisplay *) <= sizeof(GaugeHeader::user_area[0]));
RadarDisplay *display_of(GaugeHeader *gauge) {
  RadarDisplay *d = nullptr;
  if (gauge) std::memcpy(&d, &gauge->user_area[0], sizeof d);
  return d;
}
void keep_display(GaugeHeader *gauge, RadarDisplay *d) {
  std::memcpy(&gauge->user_area[0], &d, sizeof d);
}
RadarDisplay *display_of(GaugeElement *e) { return e ? display_of(e->gauge_header) : nullptr; }
RadarDisplay *display_of(MouseCallbackRecord *r) { return r ? display_of(r->gauge) : nullptr; }

// The screen: the first child of the bezel.
GaugeElement *screen_of(GaugeHeader *gauge) {
  if (!gauge->elements_list || !gauge->elements_list[0]) return nullptr;
  GaugeElement **children = gauge->elements_list[0]->next_element;
  if (!children || !children[0] || children[0]->element_type != kStaticImage) return nullptr;
  return children[0];
}

void destroy_display(GaugeHeader *gauge) {
  delete display_of(gauge);
  keep_display(gauge, nullptr);
}

// --- the gauge callback, by service code

void on_install(GaugeHeader *, ServiceData module) { click_install(click, module); }

void attach(GaugeHeader *gauge) {
  GaugeElement *screen = screen_of(gauge);
  if (RadarDisplay *d = display_of(gauge); d && screen) d->attach_screen(screen, kScreenSide, kScreenSide);
}

void on_post_install(GaugeHeader *gauge, ServiceData) { attach(gauge); }

void on_update(GaugeHeader *gauge, ServiceData) {
  RadarDisplay *d = display_of(gauge);
  // The tick counter is an unsigned word: its upper half counts on as well.
  if (d && to_word(read_var(kVarTickCount)) % kTicksPerSecond == 0) d->render();
}

void on_kill(GaugeHeader *gauge, ServiceData) {
  click_kill(click);
  if (RadarDisplay *d = display_of(gauge)) d->detach_screen();
}

// A second connect without a disconnect replaces the display, never leaks
// it. A new display binds its screen at once: a host that connects the
// gauge after install, or again after a disconnect, would otherwise leave
// the screen blank for good.
void on_connect(GaugeHeader *gauge, ServiceData) {
  destroy_display(gauge);
  keep_display(gauge, new (std::nothrow) RadarDisplay);
  attach(gauge);
}

void on_disconnect(GaugeHeader *gauge, ServiceData) { destroy_display(gauge); }

using ServiceHandler = void (*)(GaugeHeader *, ServiceData);
struct ServiceRow {
  std::int32_t code;
  ServiceHandler handler;
};
constexpr ServiceRow kServices[] = {
    {kServiceInstall, on_install},    {kServicePostInstall, on_post_install},
    {kServicePreUpdate, on_update},   {kServiceKill, on_kill},
    {kServiceConnect, on_connect},    {kServiceDisconnect, on_disconnect},
};

// A display that could not be made or drawn is dropped: the screen keeps
// its last picture and the gauge draws nothing more until it connects again.
void FSAPI radar_gauge_callback(GaugeHeader *gauge, std::int32_t service, ServiceData extra) {
  if (!gauge) return;
  for (const ServiceRow &row : kServices) {
    if (row.code != service) continue;
    if (!fail_soft("Radar", [&] { row.handler(gauge, extra); })) destroy_display(gauge);
    return;
  }
}

// --- element callbacks

double FSAPI radar_range_label(StringElement *e) {
  RadarDisplay *d = display_of(e ? &e->header : nullptr);
  if (!d) return 0.0;
  double r = d->range();
  const char *format = r >= 100.0 ? "%3.0f nm" : r >= 10.0 ? "% 2.0f nm" : "%1.1f nm";
  // The buffer's length counts the terminator.
  if (e->string) std::snprintf(e->string, e->max_string_length, format, r);
  return r;
}

double FSAPI radar_screen_cover(IconElement *) {
  // Exactly 1.0 blanks the screen.
  double blank = read_var(kVarElectricalFailure);
  double bus = read_var(kVarBusVoltage);
  bool covered = blank == 1.0 || !bus_at_least(bus, kScreenVolts) || Radar_Power_On == 0;
  return covered ? 0.0 : -1.0;
}

double FSAPI radar_power_icon(IconElement *) { return Radar_Power_On ? 1.0 : 0.0; }

// --- mouse callbacks

std::int32_t FSAPI radar_power_click(MouseCallbackRecord *, std::uint32_t) {
  click_play(click);
  Radar_Power_On = Radar_Power_On ? 0 : 1;
  return 0;
}

// A range change redraws at once.
std::int32_t FSAPI radar_range_up(MouseCallbackRecord *r, std::uint32_t) {
  if (RadarDisplay *d = display_of(r); d && !fail_soft("Radar", [d] { d->range_up(); }))
    destroy_display(r->gauge);
  return 0;
}

std::int32_t FSAPI radar_range_down(MouseCallbackRecord *r, std::uint32_t) {
  if (RadarDisplay *d = display_of(r); d && !fail_soft("Radar", [d] { d->range_down(); }))
    destroy_display(r->gauge);
  return 0;
}

std::int32_t FSAPI radar_mouse_move(MouseCallbackRecord *r, std::uint32_t) {
  RadarDisplay *d = display_of(r);
  if (!d) return 0;
  double width = kScreenSide, height = kScreenSide;
  if (r->mouse && r->mouse->relative_box.size_x > 0 && r->mouse->relative_box.size_y > 0) {
    width = r->mouse->relative_box.size_x;
    height = r->mouse->relative_box.size_y;
  }
  d->set_cursor(r->relative_point.x / width, r->relative_point.y / height);
  return 0;
}

// --- tooltips

const char *FSAPI radar_tooltip_text(double, std::int32_t, const char *, ModuleVar *,
                                     GaugeHeader *gauge) {
  RadarDisplay *d = display_of(gauge);
  return d ? d->readout() : nullptr;
}

double FSAPI radar_tooltip_range(double, std::int32_t, const char *, ModuleVar *,
                                 GaugeHeader *gauge) {
  RadarDisplay *d = display_of(gauge);
  return d ? d->range() : 0.0;
}

// A tooltip argument with no host variable, its value from the callbacks.
MouseArg tooltip_argument(TooltipStringCallback text, TooltipNumberCallback number) {
  MouseArg a{};
  a.scale = 1.0;
  a.string_callback = text;
  a.numeric_callback = number;
  return a;
}
// %1 the readout, %2 the range.
MouseArg tooltip_args[] = {tooltip_argument(radar_tooltip_text, nullptr),
                           tooltip_argument(nullptr, radar_tooltip_range)};

// --- the elements, each drawn over the one before

struct Parts {
  StaticImageElement bezel = static_image({.bitmap = 5350, .flags = kImageStandard, .gauge = kSelf});
  // The screen has a device context of its own to draw into.
  StaticImageElement screen = static_image({.bitmap = 5360,
                                            .pos = {52, 10},
                                            .flags = kImageUseErase | kImageUseBright |
                                                     kImageCreateDibSection,
                                            .gauge = kSelf});
  StringElement label = string_element({.pos = {57, 15},
                                        .flags = kImageBright,
                                        .gauge = kSelf,
                                        .box = {40, 12},
                                        .callback = radar_range_label,
                                        .text_color = kGreenText,
                                        .background_color = kBlack,
                                        .highlight_color = kWhite,
                                        .font = "Quartz",
                                        .weight = 400,
                                        .charset = kCharsetDefault,
                                        .draw_text_flags = kCentredSingleLine,
                                        .characters = kLabelCharacters});
  IconElement cover = icon({.bitmap = 5370,
                            .pos = {52, 10},
                            .flags = kImageStandard,
                            .gauge = kSelf,
                            .callback = radar_screen_cover});
  IconElement power = icon({.bitmap = 5380,
                            .pos = {262, 22},
                            .flags = kImageStandard,
                            .gauge = kSelf,
                            .callback = radar_power_icon,
                            .images = 2});
};
constinit DrawOrder<Parts, &Parts::bezel, &Parts::screen, &Parts::label, &Parts::cover,
                    &Parts::power>
    tree;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_parent({52, 10, 192, 192}, 0),
    mouse_tooltip_format("%1!s!", tooltip_args, 2),
    mouse_callback({0, 0, 192, 192}, kCursorNormal, kMouseMove, radar_mouse_move),
    mouse_end_parent(),
    mouse_parent({258, 60, 23, 41}, 0),
    mouse_tooltip_format("RANGE: %2!.0f!", tooltip_args, 2),
    mouse_callback({0, 0, 23, 17}, kCursorUpArrow, kMouseLeftSingle, radar_range_up),
    mouse_callback({0, 24, 23, 17}, kCursorDownArrow, kMouseLeftSingle, radar_range_down),
    mouse_end_parent(),
    mouse_callback({262, 22, 16, 16}, kCursorHand, kMouseLeftSingle, radar_power_click),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Radar_Header = gauge_header<&Radar_Header>({.name = "Radar",
                                         .elements = tree.elements,
                                         .size_mm = 150,
                                         .mouse = mouse,
                                         .callback = radar_gauge_callback});
