// A small gauge module for testing the host on its own: its gauges record
// every service code, element callback and click they receive in a log the
// tests read through the exported ProbeLog.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/declare.h"
#include "frame/services.h"
#include "sound/click.h"
#include "sound/sound.h"

extern "C" {
__attribute__((visibility("default"))) char ProbeLog[4096];
}

namespace {
void note(const char *text) {
  std::size_t used = std::strlen(ProbeLog);
  std::snprintf(ProbeLog + used, sizeof ProbeLog - used, "%s;", text);
}

void FSAPI probe_callback(GaugeHeader *g, std::int32_t service, ServiceData) {
  // An instance named HIDE closes panel window 7 at every update, before it
  // notes the update: the host must not disconnect it in the middle.
  if (service == kServicePreUpdate && g->parameters && std::strcmp(g->parameters, "HIDE") == 0)
    trigger_key_event(66508, 7);
  char text[64];
  std::snprintf(text, sizeof text, "%s:%d", g->parameters ? g->parameters : "-", service);
  note(text);
  // An instance named SEND sends a key event at every update.
  if (service == kServicePreUpdate && g->parameters && std::strcmp(g->parameters, "SEND") == 0)
    trigger_key_event(999, 1);
}

// Each instance rewrites its own icon token at install to the number in
// its parameter string, as retargeted engine gauges do.
void FSAPI retarget_callback(GaugeHeader *g, std::int32_t service, ServiceData) {
  if (service != kServiceInstall || !g->parameters) return;
  auto *icon = reinterpret_cast<IconElement *>(g->elements_list[0]->next_element[0]);
  icon->source_var.id = std::atoi(g->parameters);
}

double FSAPI needle_twice(NeedleElement *e) { return e->source_var.var_value.n * 2; }
double FSAPI hide_when_negative(IconElement *e) {
  if (e->source_var.var_value.n < 0)
    e->header.image_flags |= static_cast<std::int32_t>(kImageHidden);
  else
    e->header.image_flags &= ~static_cast<std::int32_t>(kImageHidden);
  return e->source_var.var_value.n;
}
double FSAPI write_text(StringElement *e) {
  std::snprintf(e->string, e->max_string_length, "ALT %.0f", e->source_var[0].var_value.n);
  return e->source_var[0].var_value.n;
}

std::int32_t FSAPI click_callback(MouseCallbackRecord *r, std::uint32_t flags) {
  char text[96];
  std::snprintf(text, sizeof text, "click:%d,%d:%s:%d:%x", r->relative_point.x,
                r->relative_point.y, r->gauge->gauge_name, r->mouse->relative_box.size_x, flags);
  note(text);
  trigger_key_event(777, 5);
  return 0;
}

const char *FSAPI range_text(double, std::int32_t, const char *, ModuleVar *, GaugeHeader *) {
  return "FAR";
}

NonlinearityEntry needle_table[] = {table_point(0, 100, 0), table_point(0, 100, 0),
                                    table_point(10, 200, 100), table_point(20, 100, 200),
                                    table_point(20, 100, 200)};

// The root has three children; the needle carries the lamp.
struct ProbeParts {
  StaticImageElement root = static_image({.bitmap = 1});
  NeedleElement needle_a = needle({.bitmap = 2, .pos = {100, 100}, .token = 10,
                                   .callback = needle_twice, .table = table(needle_table)});
  IconElement lamp = icon({.bitmap = 3, .token = 11, .callback = hide_when_negative, .images = 3});
  StaticImageElement glass = static_image({.bitmap = 4});
  StringElement label = string_element({.box = {40, 10}, .tokens = {10, 0, 0},
                                        .callback = write_text, .text_color = 0x00FF00,
                                        .font = "Quartz", .characters = 6});
};
constinit DrawOrder<ProbeParts, &ProbeParts::root,
                    branches<chain<&ProbeParts::needle_a, &ProbeParts::lamp>,
                             chain<&ProbeParts::glass>, chain<&ProbeParts::label>>>
    probe_tree;

MouseArg tooltip_args[] = {{module_var(10), 1.0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr,
                            nullptr, range_text},
                           {module_var(10), 0.5, nullptr, 0, nullptr, 0, nullptr, 0, nullptr,
                            nullptr, nullptr}};

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, 1000),
    mouse_tooltip_format("%1!s! at %2!.1f! nm (100%%)", tooltip_args, 2),
    mouse_parent({50, 50, 100, 100}, 2000),
    mouse_callback({10, 10, 20, 20}, kCursorHand, kMouseLeftSingle, click_callback),
    mouse_event({10, 10, 20, 20}, kCursorHand, kMouseRightSingle, 555),
    mouse_parent({40, 40, 40, 40}, 0),
    mouse_event({0, 0, 10, 10}, kCursorHand, kMouseLeftSingle, 666),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_end_parent(),
    mouse_event({0, 0, 5, 5}, kCursorHand, kMouseLeftSingle, 888),
    mouse_end(),
};

// A second gauge for per-instance rewrites.
struct RetargetParts {
  StaticImageElement base = static_image({.bitmap = 20});
  IconElement target = icon({.bitmap = 21, .token = 1, .images = 2});
};
constinit DrawOrder<RetargetParts, &RetargetParts::base, &RetargetParts::target> retarget_tree;
}  // namespace

// A clicking switch: key event 901, then the click, as the panel's switches do.
namespace {
ClickSound clicker_sound;

void FSAPI clicker_callback(GaugeHeader *, std::int32_t service, ServiceData extra) {
  if (service == kServiceInstall) click_install(clicker_sound, extra);
  if (service == kServiceKill) click_kill(clicker_sound);
}
std::int32_t FSAPI clicker_click(MouseCallbackRecord *, std::uint32_t) {
  trigger_key_event(901, 0);
  click_play(clicker_sound);
  return 0;
}
double FSAPI clicker_installs(IconElement *) { return clicker_sound.installs; }

struct ClickerParts {
  StaticImageElement base = static_image({.bitmap = 30});
  IconElement count = icon({.bitmap = 31, .callback = clicker_installs, .images = 9});
};
constinit DrawOrder<ClickerParts, &ClickerParts::base, &ClickerParts::count> clicker_tree;
MouseRect clicker_mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_callback({0, 0, 50, 50}, kCursorHand, kMouseLeftSingle, clicker_click),
    mouse_end_parent(),
    mouse_end(),
};

// A speaker: loads the WAVE resource its parameter string names ("ID" or
// "ID VOLUME"), plays it on a click, and shows whether it plays (icon 41)
// and whether the module still has sound (icon 42).
SoundChannel speaker;

void FSAPI speaker_callback(GaugeHeader *g, std::int32_t service, ServiceData extra) {
  if (service == kServiceInstall) {
    char *end = nullptr;
    const char *text = g->parameters ? g->parameters : "";
    long id = std::strtol(text, &end, 10);
    long volume = std::strtol(end, nullptr, 10);
    speaker.module_handle = extra;
    speaker.window = sound_find_host_window();
    sound_create_device(speaker.window, &speaker.device);
    sound_load_wave(speaker.window, speaker.device, &speaker.buffer,
                    static_cast<std::uint16_t>(id), extra);
    if (volume) sound_set_volume(&speaker.buffer, static_cast<std::int32_t>(volume));
  }
  if (service == kServiceKill) {
    sound_release(&speaker.buffer);
    sound_release(&speaker.device);
  }
}
std::int32_t FSAPI speaker_click(MouseCallbackRecord *, std::uint32_t) {
  sound_play(&speaker.buffer, 0);
  return 0;
}
double FSAPI speaker_playing(IconElement *) { return sound_is_playing(&speaker.buffer); }
double FSAPI sound_available(IconElement *) { return Sound_Available; }

struct SpeakerParts {
  StaticImageElement base = static_image({.bitmap = 40});
  IconElement playing = icon({.bitmap = 41, .callback = speaker_playing, .images = 2});
  IconElement available = icon({.bitmap = 42, .callback = sound_available, .images = 2});
};
constinit DrawOrder<SpeakerParts, &SpeakerParts::base,
                    branches<chain<&SpeakerParts::playing>, chain<&SpeakerParts::available>>>
    speaker_tree;
MouseRect speaker_mouse[] = {
    mouse_parent({0, 0, 0, 0}, 0),
    mouse_callback({0, 0, 50, 50}, kCursorHand, kMouseLeftSingle, speaker_click),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Probe_Header = gauge_header<&Probe_Header>({.name = "Probe",
                                                        .elements = probe_tree.elements,
                                                        .size_mm = 50,
                                                        .mouse = mouse,
                                                        .callback = probe_callback});
GaugeHeader Retarget_Header = gauge_header<&Retarget_Header>({.name = "Retarget",
                                                              .elements = retarget_tree.elements,
                                                              .size_mm = 20,
                                                              .callback = retarget_callback});
GaugeHeader Clicker_Header = gauge_header<&Clicker_Header>({.name = "Clicker",
                                                            .elements = clicker_tree.elements,
                                                            .size_mm = 20,
                                                            .mouse = clicker_mouse,
                                                            .callback = clicker_callback});
GaugeHeader Speaker_Header = gauge_header<&Speaker_Header>({.name = "Speaker",
                                                            .elements = speaker_tree.elements,
                                                            .size_mm = 20,
                                                            .mouse = speaker_mouse,
                                                            .callback = speaker_callback});

// A gauge whose update routine is the Probe's: it hands the host another
// gauge's root, as routines all made for the first gauge of a table would.
extern GaugeHeader Stray_Header;
namespace {
double FSAPI stray_value(IconElement *) {
  note("stray");
  return 0;
}
struct StrayParts {
  IconElement lamp = icon({.bitmap = 43, .gauge = &Stray_Header, .callback = stray_value});
};
constinit DrawOrder<StrayParts, &StrayParts::lamp> stray_tree;
constexpr GaugeHeader stray_header() {
  GaugeHeader h = gauge_header<&Stray_Header>(
      {.name = "Stray", .elements = stray_tree.elements, .size_mm = 20});
  h.update_routine = HeaderRoutines<&Probe_Header>::update;
  return h;
}
}  // namespace
GaugeHeader Stray_Header = stray_header();

extern "C" {
__attribute__((visibility("default"))) GaugeImport ImportTable = {{kPanelsImportId, nullptr},
                                                                  {0, nullptr}};
__attribute__((visibility("default"))) GaugeLinkage Linkage = {
    kModuleId, nullptr, nullptr, 0, 0, kModuleVersion,
    {&Probe_Header, &Retarget_Header, &Clicker_Header, &Speaker_Header, &Stray_Header, nullptr}};
}
