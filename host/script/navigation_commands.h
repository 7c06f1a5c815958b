// The radio navigation of a script run (host/model/radio_navigation.h):
// the receivers work from the aircraft's position every frame while it has
// one, either where `nav at` put it or where the flight model flies it.
#pragma once

#include "host/model/geo.h"
#include "host/script/script.h"

namespace z480 {

// The flight model's position this frame: the receivers and the traffic's
// user aircraft follow it; a position `nav at` set waits while it flies.
void navigation_frame(ScriptRun &run, const AircraftPosition &aircraft);

}  // namespace z480
