#include "alarm/AlarmState.h"
