// The radio power selectors, module-wide: the NAV/COM, ADF and navigation
// gauges read them to decide whether a receiver shows anything. Each starts
// at 1, so a panel without the radio head keeps that receiver powered; the
// head's install switches its receivers off.
#pragma once

extern int Com1_Power_On;
extern int Nav1_Power_On;
extern int Com2_Power_On;
extern int Nav2_Power_On;
extern int Adf_Power_On;
