#include "host/script.h"

namespace z480 {

// The panel `z480-panel run` flies when given no script: every gauge of the
// module on one panel, and a flight from cold and dark through engine start,
// take-off, cruise and an ILS approach to the shutdown, checked phase by
// phase as a pilot would.
const char *const kDefaultScript = R"z480(# The embedded default panel and scenario: the whole Z480 panel, every gauge
# of the module placed as the panel configuration places it, then one flight
# from cold and dark to cold and dark, checked like a checklist. There is no
# flight model: airspeed, altitude, heading, the radio signals and what the
# engines leave to the simulator (exhaust and oil temperature, fuel flow and
# pressure, the clock) are set by hand; the host's systems model answers the
# switches, knobs and levers.
#
# The ADF tells the host its tone is off on every drawing pass (65836, twice a
# frame while the receiver is off, once while it is on), so each event check
# lists those of the frames since the one before. Once the engines turn, for
# hundreds of frames, the checks read what the host made of the events.

# ---- THE FLIGHT LOADS: parked on the ramp of a sea-level field, heading 220
set 75 1013                 # standard pressure
set 341 15                  # outside air, degrees Celsius
set 800 15
set 84 220
set 331 16383               # gear lever and the three legs down
set 332 16383
set 333 16383
set 334 16383
set 291 6710886             # both tanks 80 % full
set 297 6710886
set 561 518.67              # oil and exhaust at 15 degrees Celsius (Rankine)
set 571 518.67
set 567 518.67
set 577 518.67
set 320 32768               # parking brake
set 321 32768
set 868 1                   # cabin door open
set 604 36000               # the simulator's clock: 10:00
set 23 0x1800               # COM 1 118.00, NAV 1 108.00
set 24 0x0800
set 870 0x1800              # COM 2 118.00, NAV 2 108.00
set 27 0x0800
set 16 0x0200               # ADF 200.0 kHz
set 18 0
set 38 0x2000               # transponder code 2000
set 355 2                   # distance receiver left on NAV 2

# ---- THE PANEL
# registration plate and window toggles (the GPS window closes at load)
place Registration param "tD-IZAR"
place ATC_Toggle
place Kneeboard_Toggle
place Map_Toggle
place Invisible_Toggle param "tANNUNCIATOR_PANEL"
place Radios_Toggle param "tRADIO_STACK_PANEL"
place GPS_Toggle param "tGPS_PANEL aGPS_PANEL"
place Throttle_Toggle param "tTHROTTLE_PANEL"
place Compass_Toggle param "tCOMPASS_PANEL"
place Close_Subpanel param "cOVERHEAD_PANEL"
place Landing_View_Toggle param "t20"
place Electricity_Toggle param "t300"
place Overhead_Toggle param "tOVERHEAD_PANEL"
place Nav_Instruments_Toggle param "tIFR_MAIN_PANEL"
# radio stack
place Z480_ADF as ADF
place Z480_NAV_COM_1 as NAVCOM1
place Z480_NAV_COM_2 as NAVCOM2
place Z480_XPDR as XPDR
# flight and navigation instruments, engine and fuel gauges
place Airspeed
place Altimeter_Mb
place EGT_Oil_Indicator as EGT_Oil_L param "1"
place EGT_Oil_Indicator as EGT_Oil_R param "2"
place Fire_Light as Fire_L param "1"
place Fire_Light as Fire_R param "2"
place HSI
place Fuel_Flow_Left
place Fuel_Flow_Right
place Fuel_Qty_Left
place Fuel_Qty_Right
place Low_Fuel_Lamp_Left
place Low_Fuel_Lamp_Right
place Fuel_Consumption_Left
place Fuel_Consumption_Right
place Fuel_Temp
place RMI
place Vertical_Speed
place Shut_Down_Engines
place Marker_Lights
place ILS_TACAN_Switch
place NAV_GPS_Switch
place Turn_Ball
place Engine_N2 as N2_L param "1"
place Engine_N2 as N2_R param "2"
place OAT_Indicator
place Homing_Indicator
place Low_Oil_Press_Light as Low_Oil_L param "1"
place Low_Oil_Press_Light as Low_Oil_R param "2"
place Propeller_RPM as Prop_L param "1"
place Propeller_RPM as Prop_R param "2"
place Torque
# quadrant, gear, trim, hydraulics and the start panel
place Flaps_Position
place Gear_Lever_Left
place Gear_Lever_Right
place Throttle_Levers
place Hydr_Press_Indicator
place Brake_Pressure
place Pitch_Trim_Wheel_Left
place Pitch_Trim_Wheel_Right
place Starter_Board
place Gear_Lamps
# electrical and lighting panel
place Elec_Light_Alt_1
place Elec_Light_Alt_2
place Elec_Light_Conv_1
place Elec_Light_Conv_2
place Voltmeter_DC
place Voltmeter_AC
place Voltmeter_Switch
place Annunciator
place Master_Battery_Switch
place Landing_Lights_Switch
place Panel_Lights_Button
place Strobe_Lights_Switch
place Beacon_Lights_Switch
place Nav_Lights_Switch
place Wing_Lights_Switch
place Switch_Alternator_Left
place Switch_Alternator_Right
place Left_Converter_Switch
place Right_Converter_Switch
# installing: the GPS window closed, the ADF tone and both NAV receivers off
expect events 66508:225 65836:0 65832:0 65833:0
expect window 225 hidden
expect GPS_Toggle #1 bitmap = 160
model on

# ---- 1. COLD AND DARK: no volts, radios dark, the navigation flags showing
frame
expect events 65836:0 65836:0
expect sounds none
expect Registration #2 text = "D-IZAR"
expect Master_Battery_Switch @5410 image = 0
expect Voltmeter_DC @5480 value = 0
expect Voltmeter_AC @5480 value = 0
expect Elec_Light_Alt_1 @5450 image = -1
expect Elec_Light_Alt_2 @5450 image = -1
expect Elec_Light_Conv_1 @5450 image = -1
expect Elec_Light_Conv_2 @5450 image = -1
expect HSI @3290 image = 0           # NAV, GS flags and the distance hatch
expect HSI @3320 image = 0
expect HSI @3350 image = 0
expect HSI @3250 value = 90          # course pointer parked
expect Homing_Indicator @2070 image = 0
expect Homing_Indicator @2060:1 image = 0
expect Homing_Indicator @2060:2 image = 0
expect NAVCOM1 @4040:1 image = -1
expect NAVCOM1 @4040:2 image = -1
expect NAVCOM1 @4050:2 flags = 0x83  # window unlit
expect ADF @1300 image = -1
expect XPDR @4140 image = -1
expect Starter_Board @4330:2 image = -1
expect Starter_Board @4330:1 image = -1
expect Starter_Board @4340:2 image = -1
expect Starter_Board @4340:1 image = -1
expect Fire_L @210:2 image = 0
expect Fire_R @210:2 image = 0
expect Low_Fuel_Lamp_Left @480:2 image = 0
expect Low_Fuel_Lamp_Right @480:2 image = 0
expect Marker_Lights @470 image = -1
expect Gear_Lever_Left @2450 image = 1
expect Gear_Lever_Right @2470 image = 1
expect N2_L @1120 value = 0
expect N2_R @1120 value = 0
expect Prop_L @2350 value = 0
expect Torque @1150:2 value = 0
expect Hydr_Press_Indicator @4240:1 value = 0
expect Brake_Pressure @3480:2 value = 0
expect Throttle_Levers @4170 y = 0
expect Throttle_Levers @4220 image = 0
expect Flaps_Position @2280 value = 0
expect Pitch_Trim_Wheel_Left @4280 image = 1
expect Voltmeter_Switch @6010 image = 0
expect ILS_TACAN_Switch @290 image = 0
expect NAV_GPS_Switch @270 image = 0
# the five basic instruments: parked, standard pressure, the ball centred
expect Airspeed @1010 needle = 198.58 ~ 0.01
expect Altimeter_Mb @340 angle = 0
expect Altimeter_Mb @350 needle = 0
expect Vertical_Speed @410 value = 0
expect OAT_Indicator @2250 value = 15
expect Turn_Ball @310 x = 0
expect Turn_Ball @310 y = 0
expect HSI @3220 angle = 220
expect RMI @1040 angle = 220
expect Homing_Indicator @2010 angle = 220

# ---- 2. BATTERY ON: 24 V on the main bus; both alternator and converter
# lights, the generator, hydraulic, fuel-pressure and door legends, the oil
# lamps and the green gear lamps lit
click Master_Battery_Switch 20 30
expect events 66241:0
expect sounds 10
frame
expect events 65836:0 65836:0
expect token 364 = 1
expect token 759 = 24
expect Master_Battery_Switch @5410 image = 1
expect Voltmeter_DC @5480 value = 24
expect Voltmeter_AC @5480 value = 24
expect Elec_Light_Alt_1 @5450 image = 0
expect Elec_Light_Alt_2 @5450 image = 0
expect Elec_Light_Conv_1 @5450 image = 0
expect Elec_Light_Conv_2 @5450 image = 0
expect Annunciator @6220 image = 0
expect Annunciator @6200 image = 0
expect Annunciator @6200:2 image = 0
expect Annunciator @6140 image = 0
expect Annunciator @6120 image = 0
expect Annunciator @6120:2 image = 0
expect Annunciator @6110 image = -1
expect Annunciator @6110:2 image = -1
expect Low_Oil_L @1480:2 image = 1
expect Low_Oil_R @1480:2 image = 1
expect Gear_Lamps @4400 image = 0
expect Gear_Lamps @4410:1 image = 0
expect Gear_Lamps @4410:2 image = 0
expect Gear_Lamps @4420 image = -1
expect HSI @3290 image = 0

# ---- 3. CONVERTERS ON: the left one brings up the converter-fed bus, the
# right one finds it live; the instruments wake, and the homing indicator
# brings the host's distance receiver to NAV 1
click Left_Converter_Switch 20 30
expect sounds 10
frame
expect token 740 = 1
expect token 755 = 28
click Right_Converter_Switch 20 30
expect sounds 10
frame
expect events 65836:0 65836:0 66293:0 65836:0 65836:0 65787:0
expect token 355 = 1
expect Left_Converter_Switch @5410 image = 1
expect Right_Converter_Switch @5410 image = 1
expect Elec_Light_Conv_1 @5450 image = -1
expect Elec_Light_Conv_2 @5450 image = -1
expect HSI @3300 image = -1
# the AC voltmeter on the left converter (position 4)
click Voltmeter_Switch 10 30
expect sounds 10
frame 2
expect events 65836:0 65836:0 65836:0 65836:0
expect Voltmeter_Switch @6010 image = 4
expect Voltmeter_AC @5480 value = 28

# ---- 4. PRE-FLIGHT: the checklist on the kneeboard; on the overhead panel
# panel lights, navigation lights and beacon
click Kneeboard_Toggle 8 8
expect events 65876:0
click Overhead_Toggle 8 8
expect events 66506:250
expect window 250 shown
click Panel_Lights_Button 10 10
click Nav_Lights_Switch 20 30
click Beacon_Lights_Switch 20 30
expect events 65750:0 66379:0 66239:0
expect sounds 10 10 10
frame
expect events 65836:0 65836:0
expect token 10 = 1
expect token 619 = 1
expect token 368 = 1
expect Panel_Lights_Button @5430 image = 1
expect Nav_Lights_Switch @5410 image = 1
expect Beacon_Lights_Switch @5410 image = 1
expect Strobe_Lights_Switch @5410 image = 0
expect Landing_Lights_Switch @2490 image = 0
expect Wing_Lights_Switch @5410 image = 0
click Close_Subpanel 8 8
expect events 66508:250
expect window 250 hidden
# the other windows: compass, throttle quadrant, electrical panel, IFR
# instruments, landing view (closed again), annunciators, and the map
click Compass_Toggle 8 8
click Throttle_Toggle 8 8
click Electricity_Toggle 8 8
click Nav_Instruments_Toggle 8 8
click Landing_View_Toggle 8 8
click Invisible_Toggle 8 8
click Map_Toggle 8 8
click Landing_View_Toggle 8 8
expect events 66506:75 66506:10 66506:300 66506:175 66506:20 66506:125 66432:0 66506:20
expect window 75 shown
expect window 10 shown
expect window 300 shown
expect window 175 shown
expect window 125 shown
expect window 20 hidden
# marker lamp test: all three lit while pressed and a moment after
click Marker_Lights 20 20
frame
expect Marker_Lights @470 image = 0
expect events 65836:0 65836:0

# ---- 5. RADIOS: the stack window open, both NAV/COM heads on (a head's two
# power switches share one click)
click Radios_Toggle 8 8
expect events 66506:50
expect window 50 shown
click NAVCOM1 50 85
click NAVCOM1 240 85
click NAVCOM2 50 85
click NAVCOM2 240 85
expect events none
expect sounds 10 10
frame
expect events 65836:0 65836:0
expect NAVCOM1 @4040:1 image = 0
expect NAVCOM1 @4040:2 image = 0
expect NAVCOM1 @4050:2 flags = 0x4083
expect NAVCOM2 @4040:1 image = 0
# COM 1 to the tower on 119.10, NAV 1 to the ILS on 110.30
click NAVCOM1 70 120
click NAVCOM1 170 120 times 4
click NAVCOM1 260 120 times 2
click NAVCOM1 360 120 times 6
expect events 65637:0 65639 65639 65639 65639 65641 65641 65643 65643 65643 65643 65643 65643
# COM 2 to ground on 121.90 (four channels down wrap to .90), NAV 2 to the
# VOR on 112.00
click NAVCOM2 70 120 times 3
click NAVCOM2 135 120 times 4
click NAVCOM2 260 120 times 4
expect events 66437 66437 66437 66438 66438 66438 66438 65645 65645 65645 65645
frame
expect token 23 = 0x1910
expect token 24 = 0x1030
expect token 870 = 0x2190
expect token 27 = 0x1200
expect NAVCOM1 @4020:4 value = 119
expect NAVCOM1 @4020:3 value = 10
expect NAVCOM1 @4090 y = 1
expect NAVCOM1 @4050:2 y = 9
expect NAVCOM1 @4050:1 y = 1
expect NAVCOM1 @4100 y = 0
expect NAVCOM1 @4060 y = 1
expect NAVCOM1 @4050:5 y = 0
expect NAVCOM1 @4050:4 y = 3
expect NAVCOM1 @4050:3 y = 0
expect NAVCOM2 @4090 y = 2
expect NAVCOM2 @4050:2 y = 1
expect NAVCOM2 @4050:1 y = 9
expect NAVCOM2 @4060 y = 1
expect NAVCOM2 @4050:5 y = 2
expect NAVCOM2 @4050:4 y = 0
expect sounds none
# ADF on, tuned to the locator on 375 kHz
click ADF 195 110
click ADF 125 130
click ADF 113 130 times 7
click ADF 100 130 times 5
expect events 65836 65836 65648 65649 65649 65649 65649 65649 65649 65649 65650 65650 65650 65650 65650
expect sounds 10
frame
expect token 16 = 0x0375
expect token 18 = 0
expect ADF @1300 image = 0
expect ADF @1290 image = 1
expect ADF @1270 image = 0
expect ADF @1260:4 y = 3
expect ADF @1260:3 y = 7
expect ADF @1260:2 y = 5
expect ADF @1260:1 y = 0
expect ADF @1260:2 flags = 0x4083
# clearance from ATC: squawk 4721. The wheels do nothing while the set is
# off; switched on, the code is dialled digit by digit
click ATC_Toggle 8 8
click XPDR 115 50 times 2
click XPDR 138 50 times 7
click XPDR 160 50 times 2
click XPDR 185 50
expect events 65836:0 65564:0
frame
expect token 38 = 0x2000
click XPDR 40 40
expect sounds 10
click XPDR 115 50 times 2
click XPDR 138 50 times 7
click XPDR 160 50 times 2
click XPDR 185 50
expect events 65836 65651 65651 65652 65652 65652 65652 65652 65652 65652 65653 65653 65654
frame
expect events 65836
expect token 38 = 0x4721
expect XPDR @4140 image = 0
expect XPDR @4130 image = 1
expect XPDR @4120:4 y = 4
expect XPDR @4120:3 y = 7
expect XPDR @4120:2 y = 2
expect XPDR @4120:1 y = 1

# ---- 6. HSI: course 040 for the ILS, the heading marker on the runway
# heading; ten degrees a right click, one click an update
click HSI 265 240 right
frame
click HSI 265 240 right
frame
click HSI 265 240 right
frame
click HSI 265 240 right
frame
click HSI 65 240 right
frame
click HSI 65 240 right
frame
click HSI 65 240 right
frame
click HSI 65 240 right
frame
expect events 65716:10 65836 65716:20 65836 65716:30 65836 65716:40 65836 66042:10 65836 66042:20 65836 66042:30 65836 66042:40 65836
expect token 45 = 40
expect token 854 = 40
expect token 855 = 40
expect HSI @3370:3 y = 0
expect HSI @3370:2 y = 40
expect HSI @3370:1 y = 0
expect HSI @3240 needle = 180
expect HSI @3250 needle = 180
# altimeter to the field's QNH 1012: two clicks down, one up (the systems
# model leaves the pressure setting to the script)
click Altimeter_Mb 20 220
click Altimeter_Mb 20 220
click Altimeter_Mb 45 220
expect events 65884 65884 65883
set 75 1012
frame
expect events 65836
expect Altimeter_Mb @340 angle = -2.95 ~ 0.000001
expect Altimeter_Mb @350 needle = 0

# ---- 7. BEFORE START: door closed, fuel counters reset, the fuel-flow
# index on the cruise flow, propellers full forward, trim set for take-off
set 868 0
click Fuel_Consumption_Left 150 160
click Fuel_Consumption_Right 150 160
click Fuel_Flow_Left 255 260 times 18
click Fuel_Flow_Right 255 260 times 18
click Throttle_Levers 145 8
click Pitch_Trim_Wheel_Left 20 300 times 5
expect events 65923:16384 65924:16384 65615 65615 65615 65615 65615
frame
expect events 65836
expect Annunciator @6220 image = -1
expect Fuel_Consumption_Left @2310:1 y = 0
expect Fuel_Consumption_Right @2310:1 y = 0
expect Fuel_Flow_Left @1200 value = 400
expect Fuel_Flow_Right @1200 value = 400
expect token 559 = 1
expect token 569 = 1
expect Throttle_Levers @4210:1 y = -134
expect Throttle_Levers @4210:2 y = -134
expect token 783 = 0.017453292519943295 ~ 1e-12
expect Pitch_Trim_Wheel_Left @4280 image = 0
expect Pitch_Trim_Wheel_Right @4300 image = 0

# ---- 8. LEFT ENGINE START: guard up, fuel cock open, pumps on, power lever
# in the start window, selector at start: the green lamp lights
click Starter_Board 80 190
expect sounds none
click Starter_Board 80 160
expect sounds 10
click Starter_Board 40 30
click Throttle_Levers 30 151 drag
click Starter_Board 130 24
expect events 66494:0 65919:16384 65820:4116
set 899 450                          # fuel pressure with the pump running
frame
expect events 65836
expect token 895 = 1
expect token 560 = 1
expect token 558 = 0.251220703125
expect Starter_Board @4350:2 value = 1
expect Starter_Board @4370:2 value = 2
expect Starter_Board @4380:3 value = 2
expect Starter_Board @4320:2 value = 2
expect Starter_Board @4330:2 image = 0
expect Starter_Board @4330:1 image = -1
expect Annunciator @6120:2 image = -1
expect Annunciator @6120 image = 0
# the start button: the starter engages, the red lamp lights, N2 climbs at
# 5 % a second; the green lamp goes out above 20 %
click Starter_Board 95 40
expect events 66300:0
frame
expect token 563 = 1
expect Starter_Board @4340:2 image = 0
expect Starter_Board @4360:2 image = 1
frame 72
expect N2_L @1120 value = 20 ~ 0.3
expect Marker_Lights @470 image = -1
frame 36
expect Starter_Board @4330:2 image = -1
expect Starter_Board @4340:2 image = 0
# light-off: exhaust and oil warm up
set 567 1031.67
set 561 600
# the panel withdraws the start at 45 %, the starter lets go at 50 %
frame 72
expect Starter_Board @4340:2 image = -1
frame 36
expect token 563 = 0
expect Starter_Board @4360:2 image = 0
expect Low_Oil_L @1480:2 image = 0
# stabilised at the power lever's N2; the selector back to stop
frame 90
click Starter_Board 130 42
set 638 150
frame
expect sounds 10
expect token 625 = 73.79272460937 ~ 1e-6
expect N2_L @1120 value = 73.79272460937 ~ 1e-6
expect N2_R @1120 value = 0
expect Prop_L @2350 value = 1
expect Torque @1150:2 value = 0.3261 ~ 0.0001
expect Torque @1150:1 value = 0
expect EGT_Oil_L @2420:1 value = 8640
expect EGT_Oil_L @2410 value = 1031.67
expect EGT_Oil_R @2420:1 value = 0
expect Fuel_Flow_Left @1180 value = 150
expect Starter_Board @4320:2 value = 0
# one hydraulic system up: the mean still low, the HYD legend lit; the
# alternator still off
expect Hydr_Press_Indicator @4240:3 value = 432000
expect Hydr_Press_Indicator @4240:1 value = 216000
expect Annunciator @6140 image = 0
expect Annunciator @6200:2 image = 0
expect Elec_Light_Alt_1 @5450 image = 0

# ---- 9. RIGHT ENGINE START, the same on the right side of the board (the
# board's switches share one click, so three moved at once sound once)
frame
click Starter_Board 260 190
click Starter_Board 260 160
click Starter_Board 300 30
click Throttle_Levers 70 151 drag
click Starter_Board 197 24
expect sounds 10
set 900 450
frame
expect token 896 = 1
expect token 570 = 1
expect token 568 = 0.251220703125
expect Starter_Board @4330:1 image = 0
expect Annunciator @6120 image = -1
click Starter_Board 250 40
frame
expect token 573 = 1
expect Starter_Board @4340:1 image = 0
expect Starter_Board @4330:1 image = 0
frame 108
expect Starter_Board @4330:1 image = -1
set 577 1031.67
set 571 600
frame 108
expect token 573 = 0
expect Starter_Board @4340:1 image = -1
expect Low_Oil_R @1480:2 image = 0
frame 90
click Starter_Board 197 42
set 657 150
frame
expect sounds 10
expect token 644 = 73.79272460937 ~ 1e-6
expect N2_R @1120 value = 73.79272460937 ~ 1e-6
expect Prop_R @2350 value = 1
expect Torque @1150:1 value = 0.3261 ~ 0.0001
expect EGT_Oil_R @2420:1 value = 8640
expect Fuel_Flow_Right @1180 value = 150
expect Hydr_Press_Indicator @4240:1 value = 432000
expect Hydr_Press_Indicator @4240:2 value = 432000
expect Annunciator @6140 image = -1
expect Annunciator @6200 image = 0

# ---- 10. ALTERNATORS ON: both come online at once and carry the bus at
# 28.5 V; the alternator lights and GEN legends go out
click Switch_Alternator_Left 20 30
click Switch_Alternator_Right 20 30
expect sounds 10 10
frame
expect token 565 = 1
expect token 575 = 1
expect token 761 = 28.5
expect token 763 = 28.5
expect token 759 = 28.5
expect Switch_Alternator_Left @5410 image = 1
expect Switch_Alternator_Right @5410 image = 1
frame
expect Voltmeter_DC @5480 value = 28.5
expect Elec_Light_Alt_1 @5450 image = -1
expect Elec_Light_Alt_2 @5450 image = -1
expect Annunciator @6200 image = -1
expect Annunciator @6200:2 image = -1
# the AC voltmeter: position 3 the left alternator, 2 the right, four times
# their voltage; then back to the DC bus
click Voltmeter_Switch 10 30
frame 2
expect Voltmeter_AC @5480 value = 114
click Voltmeter_Switch 10 30
frame 2
expect Voltmeter_AC @5480 value = 114
expect Voltmeter_Switch @6010 image = 2
click Voltmeter_Switch 10 30 times 2
frame 2
expect sounds 10 10 10
expect Voltmeter_Switch @6010 image = 0
expect Voltmeter_AC @5480 value = 28.5

# ---- 11. TAXI, ten minutes after the start: parking brake off, flaps DEC
# for take-off, out to runway 04
expect Brake_Pressure @3480:2 value = 432000
expect Brake_Pressure @3480:1 value = 432000
set 320 0
set 321 0
click Throttle_Levers 230 150
set 604 36600
set 61 15
set 84 40
frame
expect Brake_Pressure @3480:2 value = 345600
expect Brake_Pressure @3480:1 value = 345600
expect token 328 = 5461
expect Throttle_Levers @4220 image = 1
expect HSI @3220 angle = 40
expect RMI @1040 angle = 40
expect Homing_Indicator @2010 angle = 40
expect HSI @3240 needle = 0
expect HSI @3250 needle = 0
# 150 lb/h for ten minutes on each side: 25 lb
expect Fuel_Consumption_Left @2310:2 y = 20 ~ 1e-9
expect Fuel_Consumption_Left @2310:1 y = 5 ~ 1e-9
expect Fuel_Consumption_Right @2310:2 y = 20 ~ 1e-9
frame 90
expect token 330 = 5461
expect Flaps_Position @2280 value = 5461 ~ 100

# ---- 12. LINE-UP: landing lights and strobes
click Landing_Lights_Switch 20 20
click Strobe_Lights_Switch 20 30
expect sounds 10 10
frame
expect token 14 = 1
expect token 11 = 1
expect Landing_Lights_Switch @2490 image = 1
expect Strobe_Lights_Switch @5410 image = 1

# ---- 13. TAKE-OFF: both power levers full forward; N2 runs up at 10 % a
# second to 100 %, full torque
click Throttle_Levers 60 2 drag
set 638 600
set 657 600
frame 49
expect token 558 = 1
expect token 568 = 1
expect Throttle_Levers @4170 y = -156
expect Throttle_Levers @4180 y = -156
expect N2_L @1120 value = 100
expect N2_R @1120 value = 100
expect Torque @1150:2 value = 1
expect Torque @1150:1 value = 1
expect Prop_L @2350 value = 1
expect Fuel_Flow_Left @1180 value = 600
# rotate at 110 kt, climbing at 1500 ft/min
set 61 110
set 65 1950.72
set 74 300
set 604 36660
frame
expect Airspeed @1010 value = 110
expect Vertical_Speed @410 value = 1950.72

# ---- 14. POSITIVE CLIMB, GEAR UP: the green lamps go out at once, the red
# lamp blinks until the last leg is up
click Gear_Lever_Left 30 10
set 604 36660.3
frame 2
expect token 331 = 0
expect Gear_Lever_Left @2450 image = 0
expect Gear_Lever_Right @2470 image = 0
expect Gear_Lamps @4400 image = -1
expect Gear_Lamps @4410:1 image = -1
expect Gear_Lamps @4410:2 image = -1
expect Gear_Lamps @4420 image = 0
set 604 36660.5
frame
expect Gear_Lamps @4420 image = -1
frame 120
expect token 332 = 0
expect token 333 = 0
expect token 334 = 0
set 604 36660.8
frame
expect Gear_Lamps @4420 image = -1

# ---- 15. ACCELERATION ALTITUDE: level at 1000 ft, 150 kt, flaps up
set 61 150
set 65 0
set 74 1000
set 604 36720
click Throttle_Levers 230 90
frame
# two minutes at 600 lb/h: 45 lb so far
expect Fuel_Consumption_Left @2310:2 y = 40 ~ 1e-9
expect Fuel_Consumption_Left @2310:1 y = 5 ~ 1e-9
expect token 328 = 0
expect Throttle_Levers @4220 image = 0
expect Airspeed @1010 value = 150
expect Altimeter_Mb @350 needle = 0 ~ 0.000001
expect Altimeter_Mb @360 needle = 36 ~ 0.000001
frame 120
expect token 330 = 0
expect Flaps_Position @2280 value = 0 ~ 5

# ---- 16. CLIMB: climb power, climbing at 500 ft/min through 1250 ft, 10
# degrees colder
set 638 500
set 657 500
set 65 650.2399791923207
set 74 1250
set 341 5
click Throttle_Levers 60 21 drag
frame
expect token 558 = 0.904479980469 ~ 1e-9
expect Vertical_Speed @410 value = 650.2399791923207
expect Altimeter_Mb @350 needle = 90 ~ 0.000001
expect Altimeter_Mb @360 needle = 45 ~ 0.000001
expect OAT_Indicator @2250 value = 5
# a skidding turn onto the airway, the ball out to the right
set 69 64
set 84 55
frame
expect Turn_Ball @310 x = 22.5
expect Turn_Ball @310 y = -1
expect HSI @3220 angle = 55

# ---- 17. TOP OF CLIMB, 15 minutes later: 9500 ft, standard pressure;
# 125 lb more on each side
set 604 37620
set 74 9500
set 65 0
set 69 0
set 75 1013
frame
expect Fuel_Consumption_Left @2310:3 y = 100 ~ 1e-9
expect Fuel_Consumption_Left @2310:2 y = 70 ~ 1e-9
expect Fuel_Consumption_Right @2310:2 y = 70 ~ 1e-9
expect Altimeter_Mb @340 angle = 0
expect Altimeter_Mb @350 needle = 180 ~ 0.000001
expect Altimeter_Mb @360 needle = 342 ~ 0.000001
expect Altimeter_Mb @370 needle = 34.2 ~ 0.000001
expect Turn_Ball @310 x = 0
expect Vertical_Speed @410 needle = 270.2 ~ 0.5

# ---- 18. CRUISE: cruise power, propellers back, 200 kt, heading 070,
# 4 degrees below zero, the exhaust at 400 degrees
click Throttle_Levers 60 41 drag
click Throttle_Levers 145 36
set 638 400
set 657 400
set 61 200
set 84 70
set 341 -4
set 800 -4
set 567 1211.67
set 577 1211.67
frame 36
expect token 559 = 0.851013183594 ~ 1e-9
expect token 569 = 0.851013183594 ~ 1e-9
expect N2_L @1120 value = 93.140 ~ 0.001
expect N2_R @1120 value = 93.140 ~ 0.001
expect Prop_L @2350 value = 0.940405273438 ~ 1e-9
expect Torque @1150:2 value = 0.8236 ~ 0.0001
expect Airspeed @1010 needle = 89.4 ~ 1.5
expect OAT_Indicator @2250 value = -4
expect Fuel_Flow_Left @1180 value = 400
expect Fuel_Flow_Left @1200 value = 400
expect Fuel_Temp @2380:2 value = 16.1092 ~ 0.0001
expect EGT_Oil_L @2410 value = 1211.67
# the VOR on NAV 2 ahead, the locator behind: the single RMI bar to the ADF,
# the distance window to NAV 2 (the homing indicator tells the host)
set 59 15
set 58 300
set 39 200
set 36 1
set 372 24.6
click RMI 40 240
click ILS_TACAN_Switch 10 10
expect sounds 10
frame 2
expect token 355 = 2
expect ILS_TACAN_Switch @290 image = 1
expect RMI @1080 image = 1
expect RMI @1050 value = 200
expect RMI @1060 value = 15
expect HSI @3330 needle = 200 ~ 0.000001
expect HSI @3340 needle = 15 ~ 0.000001
expect Homing_Indicator @2050 value = 15
expect Homing_Indicator @2060:1 image = -1
expect Homing_Indicator @2070 image = -1
expect Homing_Indicator @2080:3 y = 20 ~ 0.000001
expect Homing_Indicator @2080:2 y = 4 ~ 0.000001
expect Homing_Indicator @2080:1 y = 0.6 ~ 0.000001
# half an hour later: 200 lb more on each side, the tanks at 70 %
set 604 39420
set 291 5872026
set 297 5872026
frame 30
expect Fuel_Consumption_Left @2310:3 y = 300 ~ 1e-9
expect Fuel_Consumption_Left @2310:2 y = 70 ~ 1e-9
expect Fuel_Consumption_Left @2310:1 y = 0 ~ 1e-9
expect Fuel_Consumption_Right @2310:3 y = 300 ~ 1e-9
expect Fuel_Qty_Left @230 value = 5872026 ~ 1000
expect Fuel_Qty_Right @230 value = 5872026 ~ 1000
expect Low_Fuel_Lamp_Left @480:2 image = 0

# ---- 19. DESCENT: power back, descending at 2000 ft/min through 5500 ft;
# below the transition level the altimeter back to QNH 1012 (one click down)
click Throttle_Levers 60 101 drag
set 638 240
set 657 240
set 65 -2600.9599167692828
set 74 5500
set 341 4
set 800 4
click Altimeter_Mb 20 220
set 75 1012
# into cloud: the wing lights on to watch for ice
click Wing_Lights_Switch 20 30
expect sounds 10
frame 36
expect token 621 = 1
expect Wing_Lights_Switch @5410 image = 1
expect token 558 = 0.502502441406 ~ 1e-9
expect N2_L @1120 value = 82.5876 ~ 0.0001
expect Vertical_Speed @410 value = -2600.9599167692828
expect Altimeter_Mb @350 needle = 180 ~ 0.000001
expect Altimeter_Mb @340 angle = -2.95 ~ 0.000001
expect OAT_Indicator @2250 value = 4

# ---- 20. APPROACH, 15 minutes later: level at 2000 ft, 160 kt, established
# on the localizer of the ILS on NAV 1, the glide slope a quarter off centre;
# the distance window back to NAV 1 (the ILS's own distance), the heading
# marker three degrees right for the wind with the homing indicator's knob
set 604 40320
set 65 0
set 74 2000
set 61 160
set 84 40
set 550 0
set 49 300
set 32 1
set 372 9.5
set 851 1
set 852 1
set 853 1
set 849 0
set 850 0.25
click ILS_TACAN_Switch 10 10
click Homing_Indicator 280 270 times 3
expect sounds 10
frame 2
# 240 lb/h for the quarter of an hour: 430 lb in all
expect Fuel_Consumption_Left @2310:3 y = 400 ~ 1e-9
expect Fuel_Consumption_Left @2310:2 y = 30 ~ 1e-9
expect Fuel_Consumption_Left @2310:1 y = 0 ~ 1e-9
expect token 355 = 1
expect token 855 = 43
expect ILS_TACAN_Switch @290 image = 0
expect HSI @3240 needle = 3 ~ 0.000001
expect HSI @3250 needle = 0 ~ 0.000001
expect HSI @3260 x = 0
expect HSI @3230 shown = 1
expect HSI @3310 shown = 1
expect HSI @3310 y = 9.5
expect HSI @3290 image = -1
expect HSI @3320 image = -1
expect HSI @3350 image = -1
expect HSI @3370:5 y = 9 ~ 0.000001
expect HSI @3370:4 y = 0.5 ~ 0.000001
expect Homing_Indicator @2040 value = 0
expect Homing_Indicator @2060:2 image = -1
expect Homing_Indicator @2030 value = 3
expect RMI @1060 value = 15
# flaps DEC and APP, a notch an update; the flaps run for 8 seconds
click Throttle_Levers 230 150
frame
click Throttle_Levers 230 150
frame 180
expect token 328 = 10922
expect token 330 = 10922
expect Throttle_Levers @4220 image = 2
expect Flaps_Position @2280 value = 10922 ~ 5

# ---- 21. OUTER MARKER, on the glide slope: gear down with the right lever;
# the red lamp blinks while the legs travel, each green lamp lights as its
# leg locks (nose 5 s, left 6 s, right 6.5 s)
set 354 1
set 61 140
set 65 -910.3359708692490
set 74 1500
set 850 0
click Gear_Lever_Right 30 150
set 604 40400.5
frame
expect Marker_Lights @440 image = 0
expect Marker_Lights @450 image = -1
expect token 331 = 16383
expect Gear_Lever_Right @2470 image = 1
expect Gear_Lever_Left @2450 image = 1
expect HSI @3310 y = 0
frame
expect Gear_Lamps @4420 image = 0
set 604 40400.7
frame
expect Gear_Lamps @4420 image = -1
frame 88
expect Gear_Lamps @4400 image = 0
expect Gear_Lamps @4410:1 image = -1
expect Gear_Lamps @4410:2 image = -1
set 604 40406.2
frame 27
expect Gear_Lamps @4400 image = 0
expect Gear_Lamps @4410:1 image = 0
expect Gear_Lamps @4410:2 image = 0
expect Gear_Lamps @4420 image = -1
expect token 332 = 16383
expect token 333 = 16383
expect token 334 = 16383

# ---- 22. SHORT FINAL: flaps ATT, over the middle marker
click Throttle_Levers 230 150
set 354 2
set 74 200
set 61 120
frame
expect token 328 = 16383
expect Throttle_Levers @4220 image = 3
expect Marker_Lights @440 image = -1
expect Marker_Lights @450 image = 0

# ---- 23. TOUCHDOWN: power levers to idle, then into reverse with right
# clicks at idle (the levers' pictures stay at idle); brakes
set 354 0
set 74 0
set 65 0
set 61 95
set 604 40410
click Throttle_Levers 60 200 drag
frame
expect token 558 = 0.0050048828125
expect token 568 = 0.0050048828125
click Throttle_Levers 30 50 right times 6
click Throttle_Levers 70 50 right times 6
set 320 16384
set 321 16384
frame 18
expect token 558 = -0.25
expect token 568 = -0.25
expect Throttle_Levers @4170 y = 0
expect Throttle_Levers @4180 y = 0
expect N2_L @1120 value = 73.75
expect N2_R @1120 value = 73.75
expect Brake_Pressure @3480:2 value = 388800
expect Brake_Pressure @3480:1 value = 388800
# out of reverse: a drag on the pair sets both to idle
set 61 40
click Throttle_Levers 60 2 drag
frame 36
expect token 558 = 0
expect token 568 = 0
expect N2_L @1120 value = 65
expect Torque @1150:2 value = 0.1

# ---- 24. TAXI IN: flaps up a notch an update; landing, strobe and wing
# lights off, the transponder off
set 61 10
set 320 0
set 321 0
set 638 150
set 657 150
click Throttle_Levers 230 90
frame
click Throttle_Levers 230 90
frame
click Throttle_Levers 230 90
click Landing_Lights_Switch 20 20
click Strobe_Lights_Switch 20 30
click Wing_Lights_Switch 20 30
click XPDR 40 40
expect sounds 10 10 10 10
frame
expect token 328 = 0
expect Throttle_Levers @4220 image = 0
expect token 14 = 0
expect token 11 = 0
expect token 621 = 0
expect XPDR @4140 image = -1
expect XPDR @4120:1 flags = 0x83
frame 250
expect token 330 = 0

# ---- 25. PARKED, six minutes later: parking brake, radios, navigation
# lights, beacon and panel lights off
set 604 40770
set 61 0
set 84 220
set 320 32768
set 321 32768
click NAVCOM1 20 90
click NAVCOM1 210 90
click NAVCOM2 20 90
click NAVCOM2 210 90
click ADF 140 120
click Nav_Lights_Switch 20 30
click Beacon_Lights_Switch 20 30
click Panel_Lights_Button 10 10
frame
expect sounds 10 10 10 10 10 10
# 451 lb used on each side
expect Fuel_Consumption_Left @2310:3 y = 400 ~ 1e-9
expect Fuel_Consumption_Left @2310:2 y = 50 ~ 1e-9
expect Fuel_Consumption_Left @2310:1 y = 1 ~ 1e-9
expect Fuel_Consumption_Right @2310:1 y = 1 ~ 1e-9
expect NAVCOM1 @4040:1 image = -1
expect NAVCOM1 @4040:2 image = -1
expect NAVCOM2 @4040:1 image = -1
expect ADF @1300 image = -1
expect HSI @3330 value = 90
expect HSI @3250 value = 90
expect HSI @3230 shown = 0
expect RMI @1050 value = 90
expect RMI @1060 value = 90
expect token 619 = 0
expect token 368 = 0
expect token 10 = 0

# ---- 26. SHUTDOWN: the shutdown gauge puts the aircraft into the
# engines-off state when its window connects: power levers to idle, fuel
# cocks and pumps, battery, converter bus and alternators off
set 60 1
service Shut_Down_Engines 14
frame
expect token 558 = 0
expect token 568 = 0
expect token 895 = 0
expect token 896 = 0
expect token 560 = 0
expect token 570 = 0
expect token 364 = 0
expect token 740 = 0
expect token 565 = 0
expect token 575 = 0
expect token 759 = 0
expect token 755 = 0
expect Master_Battery_Switch @5410 image = 0
expect Switch_Alternator_Left @5410 image = 0
expect Switch_Alternator_Right @5410 image = 0
expect Left_Converter_Switch @5410 image = 0
expect Right_Converter_Switch @5410 image = 0
expect Starter_Board @4370:2 value = 0
expect Starter_Board @4370:1 value = 0
# on the board the pump switches off and the guards down; the engines run
# down at 5 % a second
click Starter_Board 40 47
click Starter_Board 300 47
click Starter_Board 80 140
click Starter_Board 260 140
frame 300
expect sounds 10
expect token 625 = 0
expect token 644 = 0
expect Starter_Board @4380:3 value = 0
expect Starter_Board @4380:1 value = 0
expect Starter_Board @4350:2 value = 0
expect Starter_Board @4350:1 value = 0

# ---- 27. COLD AND DARK again
expect N2_L @1120 value = 0
expect N2_R @1120 value = 0
expect Prop_L @2350 value = 0
expect Torque @1150:1 value = 0
expect EGT_Oil_L @2420:1 value = 0
expect EGT_Oil_R @2420:1 value = 0
expect Hydr_Press_Indicator @4240:1 value = 0
expect Voltmeter_DC @5480 value = 0
expect Elec_Light_Alt_1 @5450 image = -1
expect Elec_Light_Conv_1 @5450 image = -1
expect HSI @3290 image = 0
expect Homing_Indicator @2070 image = 0
expect Airspeed @1010 needle = 198.58 ~ 0.01
expect Altimeter_Mb @350 needle = 0
)z480";

}  // namespace z480
