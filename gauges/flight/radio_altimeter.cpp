// Radio_Altimeter: height above the ground from 0 to 2500 ft on a non-linear
// dial, a decision-height (DH) marker set with the knob's two halves (left
// down, right up, repeating while held), a DH lamp and an OFF flag. With
// callouts enabled (parameter s1) it speaks the height on the way down: 2500,
// 1000, 500, 400, 300, 200, 100, 50, 40, 30, 20 and 10 ft, and "minimums" at
// the decision height, at most one callout per update.
// Reads: kVarRadioHeight and kVarDecisionHeight (metres); kVarDecisionHeightLamp,
// the host's DH lamp; kVarSystemsOn, which the lamp needs at 1.0;
// kVarElectricalFailure (1.0 failed); kVarVerticalSpeed (metres per second x
// 256); kVarBusVoltage (callouts from 20 V).
// Sends: kEventDecisionHeightInc and kEventDecisionHeightDec, value 1 below
// 300 ft, else 0.
// Module-wide: reads Radio_Altimeter_On.
#include "gauges/flight/radio_altimeter.h"

#include <cmath>
#include <iterator>

#include "frame/declare.h"
#include "frame/host_names.h"
#include "frame/numeric.h"
#include "frame/params.h"
#include "frame/services.h"
#include "gauges/flight/radio_altimeter_state.h"
#include "sound/sound.h"

extern GaugeHeader Radio_Altimeter_Header;

namespace {
constexpr std::int32_t kHelpRadioAltimeter = 43540;
constexpr GaugeHeader *kSelf = &Radio_Altimeter_Header;

constexpr double kFeetPerMetre = 3.28084;
constexpr double kCalloutVolts = 20.0;
// Heights in metres, each a round number of feet / 3.28084.
constexpr double kTopOfScale = 761.9999756160008;  // 2500 ft
constexpr double kFineSteps = 91.4399970739201;    // 300 ft: below it the host steps finely
}  // namespace

double table_angle_at(const NonlinearityEntry *t, std::uint32_t size, double value) {
  if (!t || size < 2 || !std::isfinite(value)) return 0.0;
  std::uint32_t i = 0;
  if (value > t[0].value && value < t[size - 1].value) {
    while (!(value <= t[i + 1].value)) ++i;
  } else if (std::fabs(value - t[size - 1].value) <= std::fabs(value - t[0].value)) {
    i = size - 2;
  }
  const NonlinearityEntry &a = t[i], &b = t[i + 1];
  if (a.value == b.value) return a.degrees;
  return ((value - b.value) * a.degrees + (a.value - value) * b.degrees) / (a.value - b.value);
}

double filter_vertical_speed(double filtered, double reading) {
  // A new reading weighs 1 - 0.9, a hair under 0.1: the instrument's own
  // weight, kept so its readings match to the last bit.
  constexpr double kNew = 1.0 - 0.9;
  double feet_per_minute = reading / 256.0 * kFeetPerMetre * 60.0;
  if (!std::isfinite(feet_per_minute)) return filtered;
  return kNew * feet_per_minute + 0.9 * filtered;
}

namespace {

// A callout is due when, since the previous update, the height came down
// from above its height to it or below, while descending at least at its
// rate.
struct CalloutRule {
  double height;   // metres
  double descent;  // ft/min, the least rate of descent that calls it
};

// Each callout carries the least rate of descent at which it is called, and
// that rate is what the descent test compares with the filtered vertical
// speed: 100 ft/min high up, 50 in the middle and at the decision height, 10
// near the ground, so a normal approach of 500 to 1000 ft/min hears them all
// and a climb, a level flight or a balloon in the flare hears none.
//
// The height must have been above the callout's before: a reading that lands
// exactly on it calls it once, not again when it stays or goes on down (which
// would repeat a callout once its sound ended, or bring the 200 ft call after
// a decision height of 200 ft called first).
bool callout_due(const CalloutRule &rule, double previous, double now, double vertical_speed) {
  bool crossed = now <= rule.height && rule.height < previous;
  return crossed && vertical_speed <= -rule.descent;
}

struct Callout {
  CalloutRule rule;
  std::uint16_t wave;
  std::int32_t volume;  // hundredths of a decibel
  SoundBuffer buffer;
};

constexpr std::int32_t kCalloutVolume = -500;

// Tried highest first; the decision height's entry comes last in the table
// but is tried before all of them, its height copied in at every update.
Callout Callouts[] = {
    {{761.9999756160008, 100}, 1340, kCalloutVolume, nullptr},  // 2500 ft
    {{304.79999024640034, 100}, 1350, kCalloutVolume, nullptr},  // 1000
    {{152.39999512320017, 50}, 1360, kCalloutVolume, nullptr},   // 500
    {{121.91999609856012, 50}, 1370, kCalloutVolume, nullptr},   // 400
    {{91.4399970739201, 50}, 1380, kCalloutVolume, nullptr},     // 300
    {{60.95999804928006, 50}, 1400, kCalloutVolume, nullptr},    // 200
    {{30.47999902464003, 50}, 1410, kCalloutVolume, nullptr},    // 100
    {{15.239999512320015, 10}, 1420, kCalloutVolume, nullptr},   // 50
    {{12.191999609856012, 10}, 1430, kCalloutVolume, nullptr},   // 40
    {{9.143999707392009, 10}, 1440, kCalloutVolume, nullptr},    // 30
    {{6.095999804928006, 10}, 1450, kCalloutVolume, nullptr},    // 20
    {{3.047999902464003, 10}, 1460, kCalloutVolume, nullptr},    // 10
    {{0.0, 50}, 1470, kCalloutVolume, nullptr},                  // the decision height
};
constexpr std::size_t kHeightCallouts = std::size(Callouts) - 1;
Callout &Decision_Callout = Callouts[kHeightCallouts];

int Callouts_Enabled = 0;
int Installs = 0;  // placed instances of the kind, which share one channel
SoundChannel Channel{};

// The radio height as last read; its previous value is the height one
// update before.
ModuleVar Radio_Height = module_var(kVarRadioHeight);
double Previous_Height = 0.0;
double Filtered_Vertical_Speed = 0.0;

bool load_callout(Callout &c) {
  return sound_load_wave(Channel.window, Channel.device, &c.buffer, c.wave,
                         Channel.module_handle) != 0 &&
         sound_set_volume(&c.buffer, c.volume) != 0;
}

// The channel opens once for the kind: its device, then the decision height's
// callout, then the heights from the top, stopping at the first failure.
void open_channel(ServiceData module_handle) {
  if (Channel.device) return;
  Channel.module_handle = module_handle;
  Channel.window = sound_find_host_window();
  if (!sound_create_device(Channel.window, &Channel.device)) return;
  if (!load_callout(Decision_Callout)) return;
  for (std::size_t i = 0; i < kHeightCallouts; ++i)
    if (!load_callout(Callouts[i])) return;
}

void close_channel() {
  for (Callout &c : Callouts) sound_release(&c.buffer);
  sound_release(&Channel.device);
}

bool callouts_requested(const GaugeHeader *gauge) {
  const char *s = param_find_key(gauge ? gauge->parameters : nullptr, "s");
  return s && param_read_int(s + 1) == 1;
}

void install(GaugeHeader *gauge, ServiceData module_handle) {
  ++Installs;
  Callouts_Enabled = callouts_requested(gauge) ? 1 : 0;
  if (Callouts_Enabled) open_channel(module_handle);
}

void kill(GaugeHeader *, ServiceData) {
  if (Installs == 0 || --Installs > 0) return;
  close_channel();
}

void connect(GaugeHeader *, ServiceData) { lookup_var(&Radio_Height); }

bool try_callout(Callout &c, double now) {
  if (!callout_due(c.rule, Previous_Height, now, Filtered_Vertical_Speed)) return false;
  if (sound_is_playing(&c.buffer)) return false;
  sound_play(&c.buffer, 0);
  return true;
}

void call_out(double now) {
  if (!bus_at_least(read_var(kVarBusVoltage), kCalloutVolts)) return;
  if (try_callout(Decision_Callout, now)) return;
  for (std::size_t i = 0; i < kHeightCallouts; ++i)
    if (try_callout(Callouts[i], now)) return;
}

void before_update(GaugeHeader *, ServiceData) {
  Previous_Height = Radio_Height.var_value.n;
  lookup_var(&Radio_Height);
  Decision_Callout.rule.height = read_var(kVarDecisionHeight);
  Filtered_Vertical_Speed =
      filter_vertical_speed(Filtered_Vertical_Speed, read_var(kVarVerticalSpeed));
  if (Radio_Altimeter_On == 1 && Callouts_Enabled == 1) call_out(Radio_Height.var_value.n);
}

using ServiceHandler = void (*)(GaugeHeader *, ServiceData);
struct ServiceEntry {
  std::int32_t code;
  ServiceHandler handler;
};
constexpr ServiceEntry kServices[] = {
    {kServiceInstall, install},
    {kServicePreUpdate, before_update},
    {kServiceKill, kill},
    {kServiceConnect, connect},
};

void FSAPI radio_altimeter_callback(GaugeHeader *gauge, std::int32_t service, ServiceData extra) {
  for (const ServiceEntry &s : kServices)
    if (s.code == service) return s.handler(gauge, extra);
}

// --- element callbacks

double FSAPI height_pointer(NeedleElement *e) {
  return Radio_Altimeter_On == 0 ? 0.0 : e->source_var.var_value.n;
}

// The flag shows (image 0) while the set is off or failed.
double FSAPI off_flag_state(IconElement *e) {
  return Radio_Altimeter_On == 0 ? 0.0 : e->source_var.var_value.n - 1.0;
}

double FSAPI decision_lamp(IconElement *e) {
  bool systems_on = read_var(kVarSystemsOn) == 1.0;
  return Radio_Altimeter_On == 1 && systems_on ? e->source_var.var_value.n : 0.0;
}

// The knob turns with the marker: 20 times the angle (radians) the height
// pointer's table gives for the decision height. The pointer is the third
// element of the instance's own tree, whose table the host has prepared.
double FSAPI decision_knob(NeedleElement *e) {
  GaugeHeader *gauge = e->header.gauge_header;
  GaugeElement *third = nullptr;
  if (gauge && gauge->elements_list && gauge->elements_list[0]) {
    GaugeElement **second = gauge->elements_list[0]->next_element;
    if (second && second[0] && second[0]->next_element) third = second[0]->next_element[0];
  }
  if (!third || third->element_type != kNeedle) return 0.0;
  auto *pointer = reinterpret_cast<NeedleElement *>(third);
  return 20.0 * table_angle_at(pointer->nonlinearity_table, pointer->nonlinearity_table_size,
                               e->source_var.var_value.n);
}

// --- mouse callbacks: the host's step is fine below 300 ft

std::uint32_t step_value(double decision_height) { return decision_height < kFineSteps ? 1 : 0; }

std::int32_t FSAPI decision_up(MouseCallbackRecord *, std::uint32_t) {
  double dh = read_var(kVarDecisionHeight);
  if (dh >= kTopOfScale) return 0;
  trigger_key_event(kEventDecisionHeightInc, step_value(dh));
  return 0;
}

std::int32_t FSAPI decision_down(MouseCallbackRecord *, std::uint32_t) {
  double dh = read_var(kVarDecisionHeight);
  if (dh <= 0.0) return 0;
  trigger_key_event(kEventDecisionHeightDec, step_value(dh));
  return 0;
}

// --- the elements

// -1, 0, 100, 300, 500, 1000, 2000, 2500 and 99999 ft, in metres.
NonlinearityEntry height_scale[] = {
    table_point(-0.3047999902464003, 152, 40), table_point(0, 152, 40),
    table_point(30.47999902464003, 277, 150),  table_point(91.4399970739201, 152, 276),
    table_point(152.39999512320017, 61, 227),  table_point(304.79999024640034, 35, 150),
    table_point(609.5999804928007, 75, 58),    table_point(761.9999756160008, 94, 50),
    table_point(30479.694224649786, 94, 50),
};

constexpr PixPoint kPivot = {152, 150};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 2100, .flags = kImageLit, .gauge = kSelf});
  IconElement off_flag = flag({.bitmap = 2140,
                               .pos = {177, 40},
                               .flags = kImageLitSmooth,
                               .gauge = kSelf,
                               .token = kVarElectricalFailure,
                               .callback = off_flag_state});
  // The DH knob reads this one's table: it stays the third element.
  NeedleElement height = pointer({.bitmap = 2110,
                                  .pos = kPivot,
                                  .gauge = kSelf,
                                  .pivot = {14, 14},
                                  .token = kVarRadioHeight,
                                  .callback = height_pointer,
                                  .table = table(height_scale)});
  NeedleElement marker = pointer({.bitmap = 2120,
                                  .pos = kPivot,
                                  .gauge = kSelf,
                                  .pivot = {0, 8},
                                  .token = kVarDecisionHeight,
                                  .table = table(height_scale)});
  StaticImageElement glass =
      static_image({.bitmap = 2160, .flags = kImageStandard, .gauge = kSelf});
  IconElement lamp = flag({.bitmap = 2130,
                           .pos = {17, 253},
                           .flags = kImageBright,
                           .gauge = kSelf,
                           .token = kVarDecisionHeightLamp,
                           .callback = decision_lamp,
                           .images = 2});
  NeedleElement knob = needle({.bitmap = 2150,
                               .pos = {277, 33},
                               .flags = kImageSmooth,
                               .gauge = kSelf,
                               .pivot = {33, 33},
                               .token = kVarDecisionHeight,
                               .callback = decision_knob});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::off_flag, &Parts::height, &Parts::marker,
                    &Parts::glass, &Parts::lamp, &Parts::knob>
    tree;

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpRadioAltimeter),
    mouse_callback({244, 0, 33, 66}, kCursorDownArrow, kLeftRepeat, decision_down),
    mouse_callback({277, 0, 33, 66}, kCursorUpArrow, kLeftRepeat, decision_up),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Radio_Altimeter_Header = gauge_header<&Radio_Altimeter_Header>({.name = "Radio_Altimeter",
                                                   .elements = tree.elements,
                                                   .size_mm = 90,
                                                   .mouse = mouse,
                                                   .callback = radio_altimeter_callback});
