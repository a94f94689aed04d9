// The log panel, the window background and the Info box.

#include "strip_mixer.h"
