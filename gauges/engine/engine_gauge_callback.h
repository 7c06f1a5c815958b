// One gauge description serving any of four engines: at install the gauge
// callback reads the instance's parameter string for an engine digit and
// moves every engine token of the instance's elements, and every engine key
// event of its child rectangles, to that engine's id. The rewrite works on
// the instance's own records, so two placed instances show two engines.
#pragma once

#include <cstdint>

#include "frame/panel.h"

// True when the digit's text occurs in the string before its first '/', '#'
// or '\''. A missing string gives false.
bool param_has_digit(const char *parameters, char digit);

// The engine named by a parameter string: the first of "1" to "4" found
// (tested in that order); none, or a missing string, means engine 1.
int engine_from_parameters(const char *parameters);

// How far apart consecutive engines' ids lie; 0 for ids that belong to no
// engine and never move.
std::int32_t engine_token_stride(std::int32_t token);
std::int32_t engine_event_stride(std::int32_t event);

// Moves the instance's ids to an engine (1 to 4; engine 1 changes nothing).
void retarget_gauge(GaugeHeader *gauge, int engine);

// The gauge callback: service 2 retargets the instance; other codes are
// ignored.
void FSAPI engine_gauge_callback(GaugeHeader *gauge, std::int32_t service, ServiceData extra);
