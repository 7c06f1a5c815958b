// Z480_ADF: the ADF control head. A frequency window of digit drums
// (thousands, hundreds, tens, units, point, tenths of a kilohertz) that glows
// while the receiver is on, three concentric knobs (hundreds outside, units
// inside; left columns step down, right columns up) and small up/down areas
// below and above each drum, a power selector with its lamp, and a TONE
// toggle. Hundreds stepping stops at 100-199 kHz going down and at
// 1600-1699 kHz going up; the other digits are the host's to carry or wrap.
// Reads: kVarAdfFrequency, the frequency's three low digits (0x0379 is 379
// kHz); kVarAdfExtension, the extension (256 and up add 1000 kHz, the rest is the tenths
// digit); both before every update and on every drawing pass; kVarAdfTone,
// the tone icon's variable (its picture is the TONE toggle's own state).
// Sends: the digit step events; on every drawing pass the tone-on event while
// both receiver and tone are on, else the tone-off event (also at install).
// Module-wide: writes Adf_Power_On, which install switches off.
#include "frame/declare.h"
#include "frame/services.h"
#include "gauges/radios/radio_bcd.h"
#include "gauges/radios/radio_display.h"
#include "gauges/radios/radio_power.h"
#include "sound/click.h"

extern GaugeHeader Z480_ADF_Header;

namespace {
constexpr std::int32_t kHelpAdf = 42761;
constexpr std::int32_t kHelpWindow = 43606;
constexpr std::int32_t kHelpKnobs = 43605;
constexpr std::int32_t kHelpTone = 43607;
constexpr GaugeHeader *kSelf = &Z480_ADF_Header;

// The highest hundreds digit from which 1000-and-up still steps up, and the
// lowest from which below-1000 still steps down.
constexpr double kTopHundreds = 6.0;
constexpr double kBottomHundreds = 1.0;

int Adf_Tone_On = 1;
double Adf_Khz = 0.0;
double Adf_Tenths = 0.0;
ClickSound click;

double read_adf_khz() {
  return adf_khz_of(read_bcd_word(kVarAdfFrequency), read_bcd_word(kVarAdfExtension));
}
double read_adf_tenths() { return adf_tenths_of(read_bcd_word(kVarAdfExtension)); }
void refresh_khz() { Adf_Khz = read_adf_khz(); }

double thousands() { return std::floor(Adf_Khz / 1000.0); }
double hundreds() { return decimal_digit(Adf_Khz, 100); }
bool on() { return Adf_Power_On == 1; }

// The tone follows the receiver and the TONE toggle, told afresh each pass.
void send_tone(bool tone) { trigger_key_event(tone ? kEventAdfToneOn : kEventAdfToneOff, 0); }

// --- element callbacks

template <int Place>
double FSAPI adf_drum(MovingImageElement *e) {
  refresh_khz();
  light_display(e->header, on());
  return decimal_digit(Adf_Khz, Place);
}

double FSAPI adf_tenths_drum(MovingImageElement *e) {
  Adf_Tenths = read_adf_tenths();
  light_display(e->header, on());
  return Adf_Tenths;
}

double FSAPI adf_point(IconElement *e) {
  light_display(e->header, on());
  return 0.0;
}

double FSAPI adf_thousands(IconElement *e) {
  refresh_khz();
  light_display(e->header, on());
  return thousands();
}

// The hundreds knob counts on through the thousands, so 1000 kHz turns it on
// from 900.
double FSAPI adf_hundreds_knob(NeedleElement *) {
  refresh_khz();
  return 10.0 * thousands() + hundreds();
}

template <int Place>
double FSAPI adf_knob(NeedleElement *) {
  refresh_khz();
  return decimal_digit(Adf_Khz, Place);
}

double FSAPI adf_tone_image(IconElement *) {
  if (Adf_Tone_On == 1) {
    if (Adf_Power_On == 1) send_tone(true);
    return 1.0;
  }
  send_tone(false);
  return 0.0;
}

double FSAPI adf_power_image(IconElement *) {
  if (Adf_Power_On == 0) {
    send_tone(false);
    return 0.0;
  }
  if (Adf_Tone_On == 1) send_tone(true);
  return 1.0;
}

double FSAPI adf_lamp(IconElement *) { return on() ? 0.0 : -1.0; }

// --- mouse callbacks

struct DigitStep {
  std::int32_t event;
  bool (*allowed)();  // null: always
};

bool hundreds_up_allowed() {
  return thousands() == 0.0 || (thousands() == 1.0 && hundreds() < kTopHundreds);
}
bool hundreds_down_allowed() {
  return thousands() == 1.0 || (thousands() == 0.0 && hundreds() > kBottomHundreds);
}

enum StepIndex {
  kHundredsUp,
  kHundredsDown,
  kTensUp,
  kTensDown,
  kUnitsUp,
  kUnitsDown,
  kTenthsUp,
  kTenthsDown
};
constexpr DigitStep kSteps[] = {
    {kEventAdfHundredsInc, hundreds_up_allowed},
    {kEventAdfHundredsDec, hundreds_down_allowed},
    {kEventAdfTensInc, nullptr},
    {kEventAdfTensDec, nullptr},
    {kEventAdfUnitsInc, nullptr},
    {kEventAdfUnitsDec, nullptr},
    {kEventAdfTenthsInc, nullptr},
    {kEventAdfTenthsDec, nullptr},
};

// Steps use the frequency cached at the last update.
template <StepIndex I>
std::int32_t FSAPI adf_step(MouseCallbackRecord *, std::uint32_t) {
  const DigitStep &s = kSteps[I];
  if (Adf_Power_On == 0) return 0;
  if (s.allowed && !s.allowed()) return 0;
  trigger_key_event(s.event, 0);
  return 0;
}

template <int On>
std::int32_t FSAPI adf_switch_power(MouseCallbackRecord *, std::uint32_t) {
  if (Adf_Power_On != 1 - On) return 0;
  Adf_Power_On = On;
  click_play(click);
  return 0;
}

std::int32_t FSAPI adf_tone_toggle(MouseCallbackRecord *, std::uint32_t) {
  Adf_Tone_On = Adf_Tone_On ? 0 : 1;
  click_play(click);
  return 0;
}

void FSAPI adf_gauge_callback(GaugeHeader *, std::int32_t service, ServiceData extra) {
  switch (service) {
    case kServiceInstall:
      Adf_Power_On = 0;
      Adf_Tone_On = 0;
      send_tone(false);
      click_install(click, extra);
      break;
    case kServicePreUpdate:
      refresh_khz();
      Adf_Tenths = read_adf_tenths();
      break;
    case kServiceKill:
      click_kill(click);
      break;
    default:
      break;
  }
}

// --- the elements

FailureRecord display_failures[] = {
    failure(kFailSystemElectricalPanels, kFailActionNoDraw),
    failure(kFailSystemElectricalAvionics, kFailActionNoDraw),
    failure(kFailGaugeAdf),
    kFailuresEnd,
};

// A full turn per ten steps: straight up at 0, straight down at 5.
NonlinearityEntry outer_table[] = {table_point(0, 97, 101), table_point(5, 97, 161)};
NonlinearityEntry middle_table[] = {table_point(0, 97, 108), table_point(5, 97, 154)};
NonlinearityEntry inner_table[] = {table_point(0, 97, 101), table_point(5, 97, 161)};

constexpr MovingImageElement digit_drum(PixPoint pos, MovingImageCallback cb) {
  return moving_image({.bitmap = 1260,
                       .pos = pos,
                       .flags = kImageSmooth,
                       .failures = display_failures,
                       .gauge = kSelf,
                       .y = {.min = 0.0, .max = 10.0},
                       .y_callback = cb});
}
constexpr NeedleElement knob(std::int32_t bitmap, std::int32_t pivot, NeedleCallback cb,
                             TableRef t) {
  return needle({.bitmap = bitmap,
                 .pos = {97, 131},
                 .flags = kImageSmooth,
                 .gauge = kSelf,
                 .pivot = {pivot, pivot},
                 .callback = cb,
                 .table = t});
}

struct Parts {
  StaticImageElement background =
      static_image({.bitmap = 1220, .flags = kImageStandard, .gauge = kSelf});
  MovingImageElement tenths_drum = digit_drum({121, 45}, adf_tenths_drum);
  IconElement point = icon({.bitmap = 1280,
                            .pos = {116, 45},
                            .flags = kImageSmooth,
                            .failures = display_failures,
                            .gauge = kSelf,
                            .callback = adf_point});
  MovingImageElement units_drum = digit_drum({102, 45}, adf_drum<1>);
  MovingImageElement tens_drum = digit_drum({88, 45}, adf_drum<10>);
  MovingImageElement hundreds_drum = digit_drum({74, 45}, adf_drum<100>);
  IconElement thousands_image = icon({.bitmap = 1270,
                                      .pos = {60, 45},
                                      .flags = kImageSmooth,
                                      .failures = display_failures,
                                      .gauge = kSelf,
                                      .callback = adf_thousands,
                                      .images = 2});
  NeedleElement hundreds_knob = knob(1250, 30, adf_hundreds_knob, table(outer_table));
  NeedleElement tens_knob = knob(1240, 23, adf_knob<10>, table(middle_table));
  NeedleElement units_knob = knob(1230, 16, adf_knob<1>, table(inner_table));
  IconElement tone_image = icon({.bitmap = 1310,
                                 .pos = {170, 74},
                                 .flags = kImageStandard,
                                 .gauge = kSelf,
                                 .token = kVarAdfTone,
                                 .callback = adf_tone_image,
                                 .images = 2});
  IconElement lamp = icon({.bitmap = 1300,
                           .pos = {90, 11},
                           .flags = kImageBright,
                           .failures = display_failures,
                           .gauge = kSelf,
                           .callback = adf_lamp});
  IconElement power_image = icon({.bitmap = 1290,
                                  .pos = {157, 122},
                                  .flags = kImageStandard,
                                  .gauge = kSelf,
                                  .callback = adf_power_image,
                                  .images = 2});
};
constinit DrawOrder<Parts, &Parts::background, &Parts::tenths_drum, &Parts::point,
                    &Parts::units_drum, &Parts::tens_drum, &Parts::hundreds_drum,
                    &Parts::thousands_image, &Parts::hundreds_knob, &Parts::tens_knob,
                    &Parts::units_knob, &Parts::tone_image, &Parts::lamp, &Parts::power_image>
    tree;

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

constexpr MouseRect down(PixBox box, MouseCallback fn) {
  return mouse_callback(box, kCursorDownArrow, kLeftRepeat, fn);
}
constexpr MouseRect up(PixBox box, MouseCallback fn) {
  return mouse_callback(box, kCursorUpArrow, kLeftRepeat, fn);
}

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpAdf),
    mouse_callback({135, 117, 27, 17}, kCursorHand, kMouseLeftSingle, adf_switch_power<0>),
    mouse_callback({187, 105, 27, 17}, kCursorHand, kMouseLeftSingle, adf_switch_power<1>),
    mouse_parent({60, 45, 75, 33}, kHelpWindow),
    mouse_end_parent(),
    mouse_parent({61, 115, 72, 32}, kHelpKnobs),
    mouse_end_parent(),
    // The concentric knobs, six 12-pixel columns: hundreds outside, units in
    // the middle.
    down({85, 115, 12, 32}, adf_step<kUnitsDown>),
    up({97, 115, 12, 32}, adf_step<kUnitsUp>),
    down({73, 115, 12, 32}, adf_step<kTensDown>),
    up({109, 115, 12, 32}, adf_step<kTensUp>),
    down({61, 115, 12, 32}, adf_step<kHundredsDown>),
    up({121, 115, 12, 32}, adf_step<kHundredsUp>),
    mouse_parent({170, 74, 24, 16}, kHelpTone),
    mouse_callback({0, 0, 24, 16}, kCursorHand, kMouseLeftSingle, adf_tone_toggle),
    mouse_end_parent(),
    // Just above (down) and below (up) each drum.
    down({117, 23, 18, 18}, adf_step<kTenthsDown>),
    up({117, 74, 18, 18}, adf_step<kTenthsUp>),
    down({102, 31, 14, 10}, adf_step<kUnitsDown>),
    up({102, 69, 14, 10}, adf_step<kUnitsUp>),
    down({88, 31, 14, 10}, adf_step<kTensDown>),
    up({88, 69, 14, 10}, adf_step<kTensUp>),
    down({74, 31, 14, 10}, adf_step<kHundredsDown>),
    up({74, 69, 14, 10}, adf_step<kHundredsUp>),
    down({121, 31, 14, 10}, adf_step<kTenthsDown>),
    up({121, 69, 14, 10}, adf_step<kTenthsUp>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Z480_ADF_Header = gauge_header<&Z480_ADF_Header>({.name = "Z480_ADF",
                                            .elements = tree.elements,
                                            .size_mm = 100,
                                            .mouse = mouse,
                                            .callback = adf_gauge_callback});
