// The module-wide electrical state: switch positions that several gauges
// read (the converter icons, the voltmeters, the warning lights) and that the
// engine shutdown clears. All 0 at load.
#pragma once

extern int Alternator_Left_On;
extern int Alternator_Right_On;
extern int Converter_Left_On;
extern int Converter_Right_On;
extern int Voltmeter_Selector;  // 0 to 4
