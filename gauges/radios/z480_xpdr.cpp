// Z480_XPDR: the transponder control head. An ON/OFF toggle with its lamp,
// four code thumbwheels that glow while the set is on, an up area above and
// a down area below each wheel, and an IDENT toggle that is drawn but does
// nothing. Carrying and the octal limit of each digit are the host's.
// Reads: kVarTransponderCode, the code as four packed-decimal digits (0x1200 is 1200),
// before every update and on every drawing pass.
// Sends: the per-digit up and down events while the set is on.
#include "frame/declare.h"
#include "frame/services.h"
#include "gauges/radios/radio_bcd.h"
#include "gauges/radios/radio_display.h"
#include "sound/click.h"

extern GaugeHeader Z480_XPDR_Header;

namespace {
enum Digit { kFirst, kSecond, kThird, kFourth };
constexpr std::int32_t kEventUp[] = {kEventTransponderThousandsInc, kEventTransponderHundredsInc,
                                     kEventTransponderTensInc, kEventTransponderUnitsInc};
constexpr std::int32_t kEventDown[] = {kEventTransponderThousandsDec, kEventTransponderHundredsDec,
                                       kEventTransponderTensDec, kEventTransponderUnitsDec};
constexpr int kPlace[] = {1000, 100, 10, 1};

constexpr std::int32_t kHelpXpdr = 42762;
constexpr std::int32_t kHelpCode = 43618;
constexpr std::int32_t kHelpIdent = 43621;
constexpr GaugeHeader *kSelf = &Z480_XPDR_Header;

int Xpdr_Power_On = 1;
double Xpdr_Code = 0.0;
ClickSound click;

bool on() { return Xpdr_Power_On == 1; }

// --- element callbacks

template <Digit D>
double FSAPI xpdr_drum(MovingImageElement *e) {
  Xpdr_Code = read_xpdr_code(kVarTransponderCode);
  light_display(e->header, on());
  return decimal_digit(Xpdr_Code, kPlace[D]);
}

double FSAPI xpdr_toggle_image(IconElement *) { return on() ? 1.0 : 0.0; }
double FSAPI xpdr_lamp(IconElement *) { return on() ? 0.0 : -1.0; }

// --- mouse callbacks

template <Digit D, bool Up>
std::int32_t FSAPI xpdr_step(MouseCallbackRecord *, std::uint32_t) {
  if (on()) trigger_key_event(Up ? kEventUp[D] : kEventDown[D], 0);
  return 0;
}

std::int32_t FSAPI xpdr_power_toggle(MouseCallbackRecord *, std::uint32_t) {
  Xpdr_Power_On = 1 - Xpdr_Power_On;
  click_play(click);
  return 0;
}

std::int32_t FSAPI xpdr_ident(MouseCallbackRecord *, std::uint32_t) { return 0; }

void FSAPI xpdr_gauge_callback(GaugeHeader *, std::int32_t service, ServiceData extra) {
  switch (service) {
    case kServiceInstall:
      Xpdr_Power_On = 0;
      click_install(click, extra);
      break;
    case kServicePreUpdate:
      Xpdr_Code = read_xpdr_code(kVarTransponderCode);
      break;
    case kServiceKill:
      click_kill(click);
      break;
    default:
      break;
  }
}

// --- the elements

FailureRecord failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionNoDraw),
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    failure(kFailGaugeTransponder),
    kFailuresEnd,
};

constexpr MovingImageElement wheel(std::int32_t x, MovingImageCallback cb) {
  return moving_image({.bitmap = 4120,
                       .pos = {x, 59},
                       .flags = kImageSmooth,
                       .failures = failures,
                       .gauge = kSelf,
                       .y = {.min = 0.0, .max = 10.0},
                       .y_callback = cb});
}

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 4110, .flags = kImageStandard, .gauge = kSelf});
  MovingImageElement fourth = wheel(187, xpdr_drum<kFourth>);
  MovingImageElement third = wheel(164, xpdr_drum<kThird>);
  MovingImageElement second = wheel(141, xpdr_drum<kSecond>);
  MovingImageElement first = wheel(118, xpdr_drum<kFirst>);
  IconElement ident = icon({.bitmap = 4150,
                            .pos = {209, 29},
                            .flags = kImageStandard,
                            .failures = failures,
                            .gauge = kSelf,
                            .images = 2});
  IconElement lamp = icon({.bitmap = 4140,
                           .pos = {53, 79},
                           .flags = kImageBright,
                           .failures = failures,
                           .gauge = kSelf,
                           .callback = xpdr_lamp});
  IconElement toggle = icon({.bitmap = 4130,
                             .pos = {28, 9},
                             .flags = kImageStandard,
                             .gauge = kSelf,
                             .callback = xpdr_toggle_image,
                             .images = 2});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::fourth, &Parts::third, &Parts::second,
                    &Parts::first, &Parts::ident, &Parts::lamp, &Parts::toggle>
    tree;

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

// The up area above a wheel and the down area below it.
template <Digit D>
constexpr MouseRect down(std::int32_t x) {
  return mouse_callback({x, 76, 23, 15}, kCursorDownArrow, kLeftRepeat, xpdr_step<D, false>);
}
template <Digit D>
constexpr MouseRect up(std::int32_t x) {
  return mouse_callback({x, 44, 23, 15}, kCursorUpArrow, kLeftRepeat, xpdr_step<D, true>);
}

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpXpdr),
    mouse_callback({30, 13, 24, 60}, kCursorHand, kMouseLeftSingle, xpdr_power_toggle),
    mouse_parent({118, 59, 78, 17}, kHelpCode),
    mouse_end_parent(),
    down<kFirst>(111),
    up<kFirst>(111),
    down<kSecond>(134),
    up<kSecond>(134),
    down<kThird>(157),
    up<kThird>(157),
    down<kFourth>(180),
    up<kFourth>(180),
    mouse_parent({209, 29, 26, 32}, kHelpIdent),
    mouse_callback({0, 0, 26, 32}, kCursorHand, kMouseLeftSingle, xpdr_ident),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Z480_XPDR_Header = gauge_header<&Z480_XPDR_Header>({.name = "Z480_XPDR",
                                             .elements = tree.elements,
                                             .size_mm = 100,
                                             .mouse = mouse,
                                             .callback = xpdr_gauge_callback});
