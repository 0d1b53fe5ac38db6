#include "common/commonlogging.h"

Q_LOGGING_CATEGORY(lcCompletion, "korvane.actions.completion", QtWarningMsg)
