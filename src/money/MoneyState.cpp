#include "money/MoneyState.h"
