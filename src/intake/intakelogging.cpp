#include "intake/intakelogging.h"

Q_LOGGING_CATEGORY(lcIntake, "korvane.intake", QtWarningMsg)
