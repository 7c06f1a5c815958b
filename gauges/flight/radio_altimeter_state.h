// The radio altimeter's on/off switch, module-wide: the attitude director's
// rising runway and the autopilot read it besides the altimeter itself. 0 at
// load; only Radio_Altimeter_Switch changes it.
#pragma once

extern int Radio_Altimeter_On;
