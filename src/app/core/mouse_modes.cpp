#include "mouse_modes.h"

MouseModeHandlers mouse_modes;
