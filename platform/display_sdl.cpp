#include "platform/display.h"
