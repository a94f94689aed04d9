#include "board_model.h"
