// The pixel buttons and the strip length (Get NumPixels, Set NumPixels).

#include "strip_mixer.h"
