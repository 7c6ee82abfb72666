#include "output/OutputState.h"
