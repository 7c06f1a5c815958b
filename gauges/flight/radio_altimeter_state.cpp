#include "gauges/flight/radio_altimeter_state.h"

int Radio_Altimeter_On = 0;
