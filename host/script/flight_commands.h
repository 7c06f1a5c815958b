// The flight model a script run flies (the `flight` commands), as the rest
// of the host reaches it: the browser panel's strip puts the pilot's hands
// on the same model a scenario's script started, so there is only ever one.
#pragma once

#include "host/model/flight_dynamics.h"
#include "host/script/script.h"

namespace z480 {

// The pilot's hands, kept for a model started later as well.
PilotControls pilot_controls(ScriptRun &run);
void set_pilot_controls(ScriptRun &run, const PilotControls &hands);
// The model flying, or null while none does.
const FlightDynamics *flight_dynamics(ScriptRun &run);

}  // namespace z480
