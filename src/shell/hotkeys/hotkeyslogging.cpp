#include "shell/hotkeys/hotkeyslogging.h"

Q_LOGGING_CATEGORY(lcHotKeys, "korvane.hotkeys", QtWarningMsg)
