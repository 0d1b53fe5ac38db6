#include "x11logging.h"

Q_LOGGING_CATEGORY(lcX11, "korvane.platform.x11", QtWarningMsg)
