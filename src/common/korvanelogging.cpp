#include "common/korvanelogging.h"

Q_LOGGING_CATEGORY(lcCompletion, "korvane.actions.completion", QtWarningMsg)
