#include "gauges/radios/radio_power.h"

int Com1_Power_On = 1;
int Nav1_Power_On = 1;
int Com2_Power_On = 1;
int Nav2_Power_On = 1;
int Adf_Power_On = 1;
