#include "serial_port_posix.h"
