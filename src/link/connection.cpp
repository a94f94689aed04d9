#include "arduino_nano.h"
