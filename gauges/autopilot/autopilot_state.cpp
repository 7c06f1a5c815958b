#include "gauges/autopilot/autopilot_state.h"

int GS_Selected = 0;
int GS_EXT_Selected = 0;
int Standby_Countdown = 0;
int Standby_Active = 0;
int Pitch_Channel_On = 0;
int Roll_Channel_On = 0;
double Pitch_Reference = 0.0;
double Bank_Target = 0.0;
double Trim_Accumulator = 0.0;
double Previous_Token_322 = 0.0;
