#include "settings/SettingsState.h"
