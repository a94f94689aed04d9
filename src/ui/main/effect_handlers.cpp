// The effect buttons, "All Animations", Break, "Reset Leds" and the cycle count.

#include "strip_mixer.h"
