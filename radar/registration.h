// The registration plate: the aircraft's registration, its colour and font
// taken from the gauge's parameter string.
#pragma once

#include "frame/panel.h"

// Gauge callback: applies the options at install (service 2) only.
void FSAPI registration_install(GaugeHeader *gauge, std::int32_t service, ServiceData extra);
// The font (f) and text colour (r, g, b) options, read after the first blank.
void registration_apply_options(GaugeHeader *gauge);
// Builds the registration into the string element's buffer; returns the
// element's own value.
double FSAPI registration_text(StringElement *text);
