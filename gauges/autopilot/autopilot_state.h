// The module-wide autopilot state: what the selector's buttons, the manual
// panel's knobs, the control laws and the annunciator share. All 0 at load;
// nothing is saved.
#pragma once

extern int GS_Selected;            // the GS button
extern int GS_EXT_Selected;        // the GS EXT button
extern int Standby_Countdown;      // lamp passes left of a standby run
extern int Standby_Active;         // a standby run is under way
extern int Pitch_Channel_On;       // the manual pitch channel is engaged
extern int Roll_Channel_On;        // the manual roll channel is engaged
extern double Pitch_Reference;     // the pitch to hold, negated (pitch-token units)
extern double Bank_Target;         // the bank to hold, within the knob's stops
extern double Trim_Accumulator;    // the integrated pitch error, 9 per degree of trim
extern double Previous_Token_322;  // the watched value at the mode watcher's last run
