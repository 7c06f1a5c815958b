// Breguet_Timer: the panel clock with a chronograph. Hour and minute hands
// show the host's time of day; the chronograph seconds hand and the small
// 15-minute dial show a stopwatch kept here, which counts the host's
// simulation time while it runs. The button below the dial starts and stops
// it, the one to its right resets it (repeating while held); the bezel turns
// in 60 clicks, up on its left side and down on its right. No sound.
// Reads: kVarLocalTime, the time of day, and kVarSimulationTime, in seconds.
// Sends: no key events.
// Gauge-kind statics: Chrono_Running, Chrono_Last_Clock, Chrono_Elapsed,
// Bezel_Position, shared by every placed timer.
#include <cmath>

#include "frame/declare.h"
#include "frame/host_names.h"

extern GaugeHeader Breguet_Timer_Header;

namespace {
constexpr std::int32_t kHelpTimer = 43798;
constexpr GaugeHeader *kSelf = &Breguet_Timer_Header;

constexpr std::int32_t kBezelClicks = 60;
constexpr std::int32_t kDegreesPerClick = 6;

int Chrono_Running = 0;
double Chrono_Last_Clock = 0.0;
double Chrono_Elapsed = 0.0;
int Bezel_Position = 0;  // -59 to 59

// Both chronograph hands call this in every frame: the clock has not moved
// between the two calls, so the second adds nothing. A clock that runs back
// takes the watch back with it; a clock reading that is no number adds
// nothing, and counting resumes from the next reading.
double FSAPI chrono_seconds(NeedleElement *e) {
  double clock = e->source_var.var_value.n;
  double step = clock - Chrono_Last_Clock;
  if (Chrono_Running != 0 && std::isfinite(step)) Chrono_Elapsed += step;
  Chrono_Last_Clock = clock;
  return std::floor(Chrono_Elapsed);
}

double FSAPI bezel_angle(SpriteElement *) {
  return static_cast<double>(Bezel_Position * kDegreesPerClick);
}

std::int32_t FSAPI chrono_start_stop(MouseCallbackRecord *, std::uint32_t) {
  Chrono_Running = Chrono_Running == 0 ? 1 : 0;
  return 0;
}

std::int32_t FSAPI chrono_reset(MouseCallbackRecord *, std::uint32_t) {
  Chrono_Elapsed = 0.0;
  return 0;
}

// The remainder keeps the sign of the position: down from 0 runs -1 ... -59
// and back to 0, up runs 1 ... 59 and back to 0.
template <int Step>
std::int32_t FSAPI bezel_step(MouseCallbackRecord *, std::uint32_t) {
  Bezel_Position = (Bezel_Position + Step) % kBezelClicks;
  return 0;
}

// --- the elements

constexpr PixPoint kCentre = {131, 163};

// Straight up at 0, straight down at half a turn.
NonlinearityEntry hour_table[] = {table_point(0, 131, 63), table_point(21600, 131, 263)};
NonlinearityEntry minute_table[] = {table_point(0, 131, 63), table_point(1800, 131, 263)};
NonlinearityEntry elapsed_minutes_table[] = {table_point(0, 131, 176),
                                             table_point(450, 131, 236)};
NonlinearityEntry seconds_table[] = {table_point(0, 131, 63), table_point(30, 131, 263)};

struct Parts {
  StaticImageElement dial = static_image({.bitmap = 3390, .flags = kImageLit, .gauge = kSelf});
  SpriteElement bezel = sprite({.bitmap = 3460,
                                .pos = {18, 48},
                                .flags = kImageLitSmooth,
                                .gauge = kSelf,
                                .centre = kCentre,
                                .rotation = {.scale = 1.0},
                                .rotation_callback = bezel_angle});
  NeedleElement hour_hand = pointer({.bitmap = 3430,
                                     .pos = kCentre,
                                     .gauge = kSelf,
                                     .pivot = {6, 6},
                                     .token = kVarLocalTime,
                                     .table = table(hour_table)});
  NeedleElement minute_hand = pointer({.bitmap = 3420,
                                       .pos = kCentre,
                                       .gauge = kSelf,
                                       .pivot = {7, 7},
                                       .token = kVarLocalTime,
                                       .table = table(minute_table)});
  NeedleElement elapsed_minutes_hand = pointer({.bitmap = 3410,
                                                .pos = {131, 206},
                                                .gauge = kSelf,
                                                .pivot = {6, 6},
                                                .token = kVarSimulationTime,
                                                .callback = chrono_seconds,
                                                .table = table(elapsed_minutes_table)});
  NeedleElement seconds_hand = pointer({.bitmap = 3400,
                                        .pos = kCentre,
                                        .gauge = kSelf,
                                        .pivot = {8, 8},
                                        .token = kVarSimulationTime,
                                        .callback = chrono_seconds,
                                        .table = table(seconds_table)});
  StaticImageElement glass =
      static_image({.bitmap = 3450, .flags = kImageStandard, .gauge = kSelf});
};
constinit DrawOrder<Parts, &Parts::dial, &Parts::bezel, &Parts::hour_hand, &Parts::minute_hand,
                    &Parts::elapsed_minutes_hand, &Parts::seconds_hand, &Parts::glass>
    tree;

constexpr std::uint32_t kLeftRepeat = kMouseLeftSingle | kMouseDownRepeat;

MouseRect mouse[] = {
    mouse_parent({0, 0, 0, 0}, kHelpTimer),
    mouse_callback({95, 289, 60, 60}, kCursorHand, kMouseLeftSingle, chrono_start_stop),
    mouse_callback({195, 299, 44, 41}, kCursorUpArrow, kLeftRepeat, chrono_reset),
    mouse_callback({6, 72, 46, 111}, kCursorUpArrow, kLeftRepeat, bezel_step<+1>),
    mouse_callback({211, 72, 46, 111}, kCursorDownArrow, kLeftRepeat, bezel_step<-1>),
    mouse_end_parent(),
    mouse_end(),
};
}  // namespace

GaugeHeader Breguet_Timer_Header =
    gauge_header<&Breguet_Timer_Header>({.name = "Breguet_Timer", .elements = tree.elements, .size_mm = 100,
                  .mouse = mouse});
