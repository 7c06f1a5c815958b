#include "host/script.h"

namespace z480 {

// A short flight past the five basic instruments: level at 1000 ft, a climb
// at 500 ft/min, a turn with the ball out, then a descent into colder air.
const char *const kDefaultScript = R"(# the embedded default script
place Airspeed
place Altimeter_Mb
place Vertical_Speed
place OAT_Indicator
place Turn_Ball

# parked on the ramp, standard pressure
set 75 1013
set 341 15
frame
expect Airspeed @1010 needle = 198.58 ~ 0.01
expect Altimeter_Mb @340 angle = 0
expect Altimeter_Mb @350 needle = 0
expect Turn_Ball @310 y = 0

# level at 1000 ft, 150 kt
set 61 150
set 74 1000
frame
expect Airspeed @1010 value = 150
expect Altimeter_Mb @350 needle = 0 ~ 0.000001
expect Altimeter_Mb @360 needle = 36 ~ 0.000001

# climbing at 500 ft/min through 1250 ft, 10 degrees colder
set 65 650.2399791923207
set 74 1250
set 341 5
frame
expect Vertical_Speed @410 value = 650.2399791923207
expect Altimeter_Mb @350 needle = 90 ~ 0.000001
expect Altimeter_Mb @360 needle = 45 ~ 0.000001

# a skidding turn, the ball out to the right
set 69 64
frame
expect Turn_Ball @310 x = 22.5
expect Turn_Ball @310 y = -1

# the pressure knob: two clicks down, one up
click Altimeter_Mb 20 220
click Altimeter_Mb 20 220
click Altimeter_Mb 45 220
expect events 65884 65884 65883

# descending at 2000 ft/min through 500 ft, the ball centred again
set 65 -2600.9599167692828
set 74 500
set 69 0
frame
expect Altimeter_Mb @350 needle = 180 ~ 0.000001
expect Turn_Ball @310 x = 0
)";

}  // namespace z480
