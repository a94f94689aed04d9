// The colour mixer: the three bars, SendColors, SendColorsRandom and "Show color on led strip".

#include "strip_mixer.h"
