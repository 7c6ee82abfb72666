#include "tools/ToolsState.h"
