#include "gauges/electrical/electrical_state.h"

int Alternator_Left_On = 0;
int Alternator_Right_On = 0;
int Converter_Left_On = 0;
int Converter_Right_On = 0;
int Voltmeter_Selector = 0;
