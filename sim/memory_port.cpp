#include "memory_port.h"
