// The host's names: every host-variable token and key-event id the module
// uses, each named once here by what it means to the host. Gauges and the
// substitute host's systems model use these names, never the numbers.
//
// Naming:
//   kVar...    a host-variable token, read through lookup_var:
//              kVar + the host's system + its index + the quantity
//              (kVarEngine1N2, kVarAlternator2Voltage, kVarFuelLeftQuantity).
//              Index 1 is engine 1, the left side; index 2 engine 2, the right.
//   kEvent...  a key-event id, sent through trigger_key_event or a mouse
//              rectangle: kEvent + the system + its index + what it does
//              (kEventCom1WholeInc, kEventBatteryMasterToggle, kEventGearUp).
// Units and encodings are noted where the number alone would mislead.
//
// Sections follow the panel's subsystems. The attitude and radio altimeter,
// timer, autopilot and traffic radar sections are separate blocks so each
// fills its own.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------- electrical

inline constexpr std::int32_t kVarBatteryMaster = 364;       // 0 off, 1 on
inline constexpr std::int32_t kVarConverterBusSwitch = 740;  // integer, nonzero: on
inline constexpr std::int32_t kVarDcVoltage = 753;           // volts, the DC voltmeter
inline constexpr std::int32_t kVarBusVoltage = 755;          // volts, the converter-fed bus
inline constexpr std::int32_t kVarMainBusVoltage = 759;      // volts
inline constexpr std::int32_t kVarAlternator1Switch = 565;
inline constexpr std::int32_t kVarAlternator2Switch = 575;
inline constexpr std::int32_t kVarGenerator1Online = 566;  // 1 while charging
inline constexpr std::int32_t kVarGenerator2Online = 576;
inline constexpr std::int32_t kVarAlternator1Voltage = 761;  // volts
inline constexpr std::int32_t kVarAlternator2Voltage = 763;
// A host on/off state: the shutdown acts only above 0, the decision-height
// lamp wants exactly 1.0.
inline constexpr std::int32_t kVarSystemsOn = 60;
// Reads 1.0 while the instruments are failed.
inline constexpr std::int32_t kVarElectricalFailure = 279;

inline constexpr std::int32_t kEventBatteryMasterToggle = 66241;
inline constexpr std::int32_t kEventConverterBusToggle = 66293;
inline constexpr std::int32_t kEventAlternator1Toggle = 66363;
inline constexpr std::int32_t kEventAlternator2Toggle = 66364;

// -------------------------------------------------------------------- lights

inline constexpr std::int32_t kVarPanelLights = 10;  // each 0 off, 1 on
inline constexpr std::int32_t kVarStrobeLights = 11;
inline constexpr std::int32_t kVarLandingLights = 14;
inline constexpr std::int32_t kVarBeaconLights = 368;
inline constexpr std::int32_t kVarNavLights = 619;
inline constexpr std::int32_t kVarWingLights = 621;

inline constexpr std::int32_t kEventStrobeLightsToggle = 65560;
inline constexpr std::int32_t kEventPanelLightsToggle = 65750;
inline constexpr std::int32_t kEventLandingLightsToggle = 65751;
inline constexpr std::int32_t kEventBeaconLightsToggle = 66239;
inline constexpr std::int32_t kEventWingLightsToggle = 66378;
inline constexpr std::int32_t kEventNavLightsToggle = 66379;

// ----------------------------------------------------------- warning legends

inline constexpr std::int32_t kVarDoor1Open = 868;
inline constexpr std::int32_t kVarDoor2Open = 869;
inline constexpr std::int32_t kVarEngine1Fire = 887;  // 1: fire
inline constexpr std::int32_t kVarEngine2Fire = 888;
inline constexpr std::int32_t kVarEngine1FuelPressure = 899;
inline constexpr std::int32_t kVarEngine2FuelPressure = 900;

// ------------------------------------------------------------------- engines

inline constexpr std::int32_t kVarEngine1PowerLever = 558;  // negative in reverse
inline constexpr std::int32_t kVarEngine2PowerLever = 568;
inline constexpr std::int32_t kVarEngine1PropLever = 559;
inline constexpr std::int32_t kVarEngine2PropLever = 569;
inline constexpr std::int32_t kVarEngine1FuelPump = 560;
inline constexpr std::int32_t kVarEngine2FuelPump = 570;
inline constexpr std::int32_t kVarEngine1OilTemperature = 561;  // degrees Rankine
inline constexpr std::int32_t kVarEngine2OilTemperature = 571;
inline constexpr std::int32_t kVarEngine1OilPressure = 562;  // pounds per square foot
inline constexpr std::int32_t kVarEngine2OilPressure = 572;
inline constexpr std::int32_t kVarEngine1Starter = 563;  // 1.0 engaged
inline constexpr std::int32_t kVarEngine2Starter = 573;
inline constexpr std::int32_t kVarEngine1Egt = 567;  // degrees Rankine
inline constexpr std::int32_t kVarEngine2Egt = 577;
inline constexpr std::int32_t kVarEngine1N2 = 625;   // percent
inline constexpr std::int32_t kVarEngine2N2 = 644;
inline constexpr std::int32_t kVarEngine1Torque = 629;  // fraction, 1.0 = 100 %
inline constexpr std::int32_t kVarEngine2Torque = 648;
inline constexpr std::int32_t kVarEngine1FuelFlow = 638;  // pounds per hour
inline constexpr std::int32_t kVarEngine2FuelFlow = 657;
inline constexpr std::int32_t kVarEngine1PropRpm = 701;  // fraction of the maximum
inline constexpr std::int32_t kVarEngine2PropRpm = 709;
inline constexpr std::int32_t kVarEngine1FuelCock = 895;  // 0 closed
inline constexpr std::int32_t kVarEngine2FuelCock = 896;
inline constexpr std::int32_t kVarFuelPumpsLeft = 891;
inline constexpr std::int32_t kVarFuelPumpsRight = 892;

// Lever events carry 16384 x the lever position.
inline constexpr std::int32_t kEventEngine1PowerLeverSet = 65820;
inline constexpr std::int32_t kEventEngine2PowerLeverSet = 65821;
inline constexpr std::int32_t kEventEngine1FuelPumpSet = 65919;
inline constexpr std::int32_t kEventEngine2FuelPumpSet = 65920;
inline constexpr std::int32_t kEventEngine1PropLeverSet = 65923;
inline constexpr std::int32_t kEventEngine2PropLeverSet = 65924;
inline constexpr std::int32_t kEventEngine1PowerLeverIdle = 65966;
inline constexpr std::int32_t kEventEngine2PowerLeverIdle = 65971;
inline constexpr std::int32_t kEventEngine1Starter = 66300;
inline constexpr std::int32_t kEventEngine2Starter = 66301;
inline constexpr std::int32_t kEventEngine1FuelCockToggle = 66494;
inline constexpr std::int32_t kEventEngine2FuelCockToggle = 66495;

// The host numbers each engine's variables and events in blocks: an id from
// first to last (inclusive) belongs to engine 1, and engine n's counterpart
// is id + (n - 1) x stride.
struct EngineIdBlock {
  std::int32_t first, last, stride;
};
inline constexpr EngineIdBlock kEngineVarBlocks[] = {
    {127, 161, 35}, {390, 428, 39}, {558, 567, 10}, {608, 608, 1}, {624, 642, 19},
    {700, 707, 8},  {732, 733, 2},  {761, 762, 2},  {801, 801, 1},
};
inline constexpr EngineIdBlock kEngineEventBlocks[] = {
    {65538, 65538, 1}, {65820, 65820, 1}, {65919, 65919, 1}, {65923, 65923, 1}, {65927, 65932, 6},
    {65963, 65967, 5}, {65983, 65987, 5}, {66003, 66007, 5}, {66081, 66083, 3}, {66126, 66127, 2},
    {66300, 66300, 1}, {66313, 66313, 1}, {66329, 66330, 2}, {66340, 66340, 1}, {66345, 66345, 1},
    {66349, 66349, 1}, {66359, 66359, 1}, {66363, 66363, 1},
};

// ---------------------------------------------------------------------- fuel

inline constexpr std::int32_t kVarFuelLeftQuantity = 291;  // 8388608 = full
inline constexpr std::int32_t kVarFuelRightQuantity = 297;
inline constexpr std::int32_t kVarFuelTemperature = 800;  // degrees Celsius

// --------------------------------------------------------- airframe controls

inline constexpr std::int32_t kVarBrakeLeft = 320;  // 0 to 32768
inline constexpr std::int32_t kVarBrakeRight = 321;
inline constexpr std::int32_t kVarFlapLever = 328;     // 0 to 16383
inline constexpr std::int32_t kVarFlapPosition = 330;  // 0 to 16383
inline constexpr std::int32_t kVarGearLever = 331;     // 0 up, 16383 down
inline constexpr std::int32_t kVarGearNosePosition = 332;  // 0 up to 16383 down and locked
inline constexpr std::int32_t kVarGearLeftPosition = 333;
inline constexpr std::int32_t kVarGearRightPosition = 334;
inline constexpr std::int32_t kVarHydraulic1Pressure = 732;  // pounds per square foot
inline constexpr std::int32_t kVarHydraulic2Pressure = 734;
inline constexpr std::int32_t kVarElevatorTrim = 783;  // radians

inline constexpr std::int32_t kEventElevatorTrimDown = 65607;
inline constexpr std::int32_t kEventElevatorTrimUp = 65615;
inline constexpr std::int32_t kEventFlapsDown = 65758;  // one notch further out
inline constexpr std::int32_t kEventFlapsUp = 65759;    // one notch further in
inline constexpr std::int32_t kEventGearUp = 66079;
inline constexpr std::int32_t kEventGearDown = 66080;

// --------------------------------------------------------- flight and clocks

inline constexpr std::int32_t kVarIndicatedAirspeed = 61;  // knots
inline constexpr std::int32_t kVarVerticalSpeed = 65;      // metres per second x 256
inline constexpr std::int32_t kVarTurnBall = 69;           // signed, 0 centred
inline constexpr std::int32_t kVarIndicatedAltitude = 74;  // feet
inline constexpr std::int32_t kVarPressureSetting = 75;    // hPa
inline constexpr std::int32_t kVarOutsideAirTemperature = 341;  // degrees Celsius
inline constexpr std::int32_t kVarSimulationTime = 604;         // seconds

inline constexpr std::int32_t kEventPressureSettingUp = 65883;
inline constexpr std::int32_t kEventPressureSettingDown = 65884;

// ---------------------------------------------------------------- navigation

inline constexpr std::int32_t kVarHeading = 84;           // degrees
inline constexpr std::int32_t kVarSelectedHeading = 855;  // degrees, the heading marker
inline constexpr std::int32_t kVarNav1Course = 45;        // degrees, the course knob
inline constexpr std::int32_t kVarHsiCourse = 854;        // degrees, the course drawn
inline constexpr std::int32_t kVarHsiLateralDeviation = 849;
inline constexpr std::int32_t kVarHsiGlideSlopeDeviation = 850;
inline constexpr std::int32_t kVarHsiLateralValid = 851;
inline constexpr std::int32_t kVarHsiGlideSlopeValid = 852;
inline constexpr std::int32_t kVarHsiToFrom = 853;
inline constexpr std::int32_t kVarNav1Bearing = 550;  // relative, degrees
inline constexpr std::int32_t kVarNav2Bearing = 59;
inline constexpr std::int32_t kVarAdfBearing = 39;
inline constexpr std::int32_t kVarNav1Flags = 46;  // bit 0x80: no bearing
inline constexpr std::int32_t kVarNav2Flags = 55;
inline constexpr std::int32_t kVarNav1Signal = 49;  // below 256: the flag shows
inline constexpr std::int32_t kVarNav2Signal = 58;
inline constexpr std::int32_t kVarDistance = 372;         // nautical miles
inline constexpr std::int32_t kVarNav1NoDistance = 32;    // negative: none
inline constexpr std::int32_t kVarNav2NoDistance = 36;
inline constexpr std::int32_t kVarDistanceReceiver = 355;  // 1 or 2
inline constexpr std::int32_t kVarMarkerBeacon = 354;     // 1 outer, 2 middle, 3 inner
inline constexpr std::int32_t kVarGpsSource = 848;        // nonzero: GPS drives the instruments
inline constexpr std::int32_t kVarAdfFailure = 273;
inline constexpr std::int32_t kVarHeadingFailure = 282;
inline constexpr std::int32_t kVarNavReceiverFailure = 285;

inline constexpr std::int32_t kEventNav1CourseSet = 65716;  // value: whole degrees
inline constexpr std::int32_t kEventDistanceReceiver1 = 65787;
inline constexpr std::int32_t kEventDistanceReceiver2 = 65788;
inline constexpr std::int32_t kEventSelectedHeadingInc = 65879;
inline constexpr std::int32_t kEventSelectedHeadingDec = 65880;
inline constexpr std::int32_t kEventSelectedHeadingSet = 66042;  // value: whole degrees
inline constexpr std::int32_t kEventGpsSourceToggle = 66375;

// -------------------------------------------------------------------- radios

// Frequencies and codes are packed decimal (COM and NAV without the leading 1).
inline constexpr std::int32_t kVarAdfFrequency = 16;  // three low digits, 0x0379 = 379 kHz
inline constexpr std::int32_t kVarAdfExtension = 18;  // 256 and up: + 1000 kHz; low: tenths
inline constexpr std::int32_t kVarCom1Frequency = 23;
inline constexpr std::int32_t kVarNav1Frequency = 24;
inline constexpr std::int32_t kVarNav2Frequency = 27;
inline constexpr std::int32_t kVarTransponderCode = 38;
inline constexpr std::int32_t kVarCom2Frequency = 870;
inline constexpr std::int32_t kVarAdfTone = 880;

inline constexpr std::int32_t kEventCom1WholeDec = 65636;
inline constexpr std::int32_t kEventCom1WholeInc = 65637;
inline constexpr std::int32_t kEventCom1FractionDec = 65638;
inline constexpr std::int32_t kEventCom1FractionInc = 65639;
inline constexpr std::int32_t kEventNav1WholeDec = 65640;
inline constexpr std::int32_t kEventNav1WholeInc = 65641;
inline constexpr std::int32_t kEventNav1FractionDec = 65642;
inline constexpr std::int32_t kEventNav1FractionInc = 65643;
inline constexpr std::int32_t kEventNav2WholeDec = 65644;
inline constexpr std::int32_t kEventNav2WholeInc = 65645;
inline constexpr std::int32_t kEventNav2FractionDec = 65646;
inline constexpr std::int32_t kEventNav2FractionInc = 65647;
inline constexpr std::int32_t kEventCom2WholeDec = 66436;
inline constexpr std::int32_t kEventCom2WholeInc = 66437;
inline constexpr std::int32_t kEventCom2FractionDec = 66438;
inline constexpr std::int32_t kEventCom2FractionInc = 66440;
inline constexpr std::int32_t kEventNav1Off = 65832;
inline constexpr std::int32_t kEventNav2Off = 65833;
inline constexpr std::int32_t kEventAdfHundredsInc = 65648;
inline constexpr std::int32_t kEventAdfTensInc = 65649;
inline constexpr std::int32_t kEventAdfUnitsInc = 65650;
inline constexpr std::int32_t kEventAdfHundredsDec = 65666;
inline constexpr std::int32_t kEventAdfTensDec = 65667;
inline constexpr std::int32_t kEventAdfUnitsDec = 65668;
inline constexpr std::int32_t kEventAdfTenthsDec = 66453;
inline constexpr std::int32_t kEventAdfTenthsInc = 66454;
inline constexpr std::int32_t kEventAdfToneOff = 65836;
inline constexpr std::int32_t kEventAdfToneOn = 65841;
inline constexpr std::int32_t kEventTransponderThousandsInc = 65651;
inline constexpr std::int32_t kEventTransponderHundredsInc = 65652;
inline constexpr std::int32_t kEventTransponderTensInc = 65653;
inline constexpr std::int32_t kEventTransponderUnitsInc = 65654;
inline constexpr std::int32_t kEventTransponderThousandsDec = 66455;
inline constexpr std::int32_t kEventTransponderHundredsDec = 66456;
inline constexpr std::int32_t kEventTransponderTensDec = 66457;
inline constexpr std::int32_t kEventTransponderUnitsDec = 66458;

// ------------------------------------------------------------- panel windows

inline constexpr std::int32_t kEventAtcWindowToggle = 65564;
inline constexpr std::int32_t kEventPanelStepForward = 65734;
inline constexpr std::int32_t kEventPanelStepBack = 65735;
inline constexpr std::int32_t kEventPanelStepReset = 65875;
inline constexpr std::int32_t kEventKneeboardToggle = 65876;
inline constexpr std::int32_t kEventMapToggle = 66432;
inline constexpr std::int32_t kEventPanelIdToggle = 66506;
inline constexpr std::int32_t kEventPanelIdOpen = 66507;
inline constexpr std::int32_t kEventPanelIdClose = 66508;

// ------------------------------------------------- attitude and radio altimeter

inline constexpr std::int32_t kVarPitch = 78;     // degrees, nose down positive
inline constexpr std::int32_t kVarBank = 80;      // degrees, left wing down positive
inline constexpr std::int32_t kVarTurnRate = 70;  // 256 per unit of the turn dial
inline constexpr std::int32_t kVarReferenceAirspeed = 116;   // knots
inline constexpr std::int32_t kVarSpeedPointerEnable = 123;  // 0.0 centres the pointer
inline constexpr std::int32_t kVarFlightDirectorActive = 792;  // exactly 1.0: active
inline constexpr std::int32_t kVarFlightDirectorPitch = 793;   // degrees commanded
inline constexpr std::int32_t kVarFlightDirectorBank = 794;    // degrees commanded
inline constexpr std::int32_t kVarAttitudeBars = 612;  // reference bars, -100 to 100
inline constexpr std::int32_t kVarAttitudeFailure = 276;
inline constexpr std::int32_t kVarVacuumFailure = 288;
inline constexpr std::int32_t kVarRadioHeight = 614;         // metres
inline constexpr std::int32_t kVarDecisionHeight = 615;      // metres
inline constexpr std::int32_t kVarDecisionHeightLamp = 616;  // 1: at or below it

inline constexpr std::int32_t kEventAttitudeBarsUp = 66318;
inline constexpr std::int32_t kEventAttitudeBarsDown = 66319;
// Value 1 asks for the fine step (sent below 300 ft), 0 for the coarse one.
inline constexpr std::int32_t kEventDecisionHeightInc = 66321;
inline constexpr std::int32_t kEventDecisionHeightDec = 66322;

// --------------------------------------------------------------------- timer

// The host's clock (a script's `clock on`) runs kVarSimulationTime and the
// time of day; the timer's hands read the time of day, its stopwatch the
// simulation time.
inline constexpr std::int32_t kVarLocalTime = 557;  // seconds after midnight

// ----------------------------------------------------------------- autopilot

// Mode words: above 0 (the panel's lamps) or exactly 1.0 (the module's laws)
// while the mode is on.
inline constexpr std::int32_t kVarAutopilotMaster = 103;
inline constexpr std::int32_t kVarAutopilotWingLeveler = 104;
inline constexpr std::int32_t kVarAutopilotNav1Hold = 105;
inline constexpr std::int32_t kVarAutopilotHeadingHold = 106;
inline constexpr std::int32_t kVarAutopilotAltitudeHold = 108;
inline constexpr std::int32_t kVarAutopilotAttitudeHold = 110;
inline constexpr std::int32_t kVarAutopilotGlideslopeHold = 111;
inline constexpr std::int32_t kVarAutopilotApproachHold = 112;
inline constexpr std::int32_t kVarAutopilotBackCourseHold = 113;
inline constexpr std::int32_t kVarYawDamper = 114;
inline constexpr std::int32_t kVarAutopilotAirspeedHold = 115;
inline constexpr std::int32_t kVarAutopilotVerticalHold = 119;
inline constexpr std::int32_t kVarAutopilotGoAround = 124;
// The autopilot's watch: the pilot's force on the wheel, the larger of its
// pitch and roll inputs, 16384 at full travel. From 16000 up every mode
// goes off; falling at or below 100 (let go) the attitude hold takes over.
inline constexpr std::int32_t kVarAutopilotWatch = 322;
// The glideslope needle, 127 at full scale (positive: above the path),
// and 1 while a glideslope is received.
inline constexpr std::int32_t kVarNav1GlideslopeNeedle = 41;    // within 18: tracked
inline constexpr std::int32_t kVarNav1GlideslopeReceived = 44;  // nonzero: received
// The host autopilot's own settings and state, which no gauge reads: the
// altitude ALT holds (feet), and 1 once a V/L, APP or REV mode has captured
// its course.
inline constexpr std::int32_t kVarAutopilotAltitudeLock = 901;
inline constexpr std::int32_t kVarAutopilotCourseCaptured = 902;
// 1 while the host autopilot flies the ailerons itself.
inline constexpr std::int32_t kVarAutopilotRollServo = 903;
// The airspeed IAS saw at the last frame (knots), for its trend.
inline constexpr std::int32_t kVarAutopilotAirspeedLast = 904;
// The heading a captured course is flown off its centreline by (degrees,
// right positive), learned from a standing deviation: the wind's drift.
inline constexpr std::int32_t kVarAutopilotCourseCorrection = 905;
// 1 while an approach may still capture its glideslope: set as APP goes on,
// gone once the glideslope it captured is given up (ALT pressed, no signal).
inline constexpr std::int32_t kVarAutopilotGlideslopeArmed = 906;
// The yaw damper's rudder (full travel 1, positive yaws right), and the
// yaw rate it has settled on as the turn's own (degrees a second).
inline constexpr std::int32_t kVarYawDamperRudder = 907;
inline constexpr std::int32_t kVarYawDamperSteadyRate = 908;
// The lateral deviation at the last frame, for the needle's speed.
inline constexpr std::int32_t kVarAutopilotCourseLastDeviation = 909;
inline constexpr std::int32_t kVarAirspeedFailure = 274;
inline constexpr std::int32_t kVarAltimeterFailure = 275;
inline constexpr std::int32_t kVarTurnCoordinatorFailure = 287;

inline constexpr std::int32_t kEventAutopilotMasterToggle = 65580;
inline constexpr std::int32_t kEventAutopilotAttitudeHoldToggle = 65722;
inline constexpr std::int32_t kEventAutopilotApproachHoldToggle = 65724;
inline constexpr std::int32_t kEventAutopilotHeadingHoldToggle = 65725;
inline constexpr std::int32_t kEventAutopilotAltitudeHoldToggle = 65726;
inline constexpr std::int32_t kEventAutopilotWingLevelerToggle = 65727;
inline constexpr std::int32_t kEventAutopilotBackCourseHoldToggle = 65728;
inline constexpr std::int32_t kEventAutopilotNav1HoldToggle = 65729;
inline constexpr std::int32_t kEventYawDamperToggle = 65793;
inline constexpr std::int32_t kEventAutopilotAirspeedHoldToggle = 65859;
inline constexpr std::int32_t kEventAutopilotGoAroundToggle = 65861;
inline constexpr std::int32_t kEventAutopilotAttitudeHoldOn = 65804;
inline constexpr std::int32_t kEventAutopilotAttitudeHoldOff = 65812;
inline constexpr std::int32_t kEventAutopilotLocalizerHoldOff = 65813;
inline constexpr std::int32_t kEventAutopilotApproachHoldOff = 65814;
inline constexpr std::int32_t kEventAutopilotHeadingHoldOff = 65815;
inline constexpr std::int32_t kEventAutopilotAltitudeHoldOff = 65816;
inline constexpr std::int32_t kEventAutopilotWingLevelerOff = 65817;
inline constexpr std::int32_t kEventAutopilotBackCourseHoldOff = 65818;
inline constexpr std::int32_t kEventAutopilotNav1HoldOff = 65819;
// Control surfaces: 16384 is full deflection, a signed word. A positive
// elevator pitches nose down, a positive aileron rolls left; the trim takes
// 16384 as 20 degrees of nose-up trim.
inline constexpr std::int32_t kEventElevatorTrimSet = 65706;
inline constexpr std::int32_t kEventElevatorSet = 65762;
inline constexpr std::int32_t kEventAileronSet = 65763;

// ------------------------------------------------------------- traffic radar

inline constexpr std::int32_t kVarTickCount = 1;      // frames, 18 a second
inline constexpr std::int32_t kVarPlaneHeading = 86;  // degrees, the radar's up
