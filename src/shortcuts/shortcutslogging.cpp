#include "shortcuts/shortcutslogging.h"

Q_LOGGING_CATEGORY(lcShortcuts, "korvane.hotkeys", QtWarningMsg)
