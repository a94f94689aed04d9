// Brightness and speed.

#include "strip_mixer.h"
