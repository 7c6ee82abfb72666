#include "curves/CurveState.h"
