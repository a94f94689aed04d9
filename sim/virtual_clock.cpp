#include "virtual_clock.h"
