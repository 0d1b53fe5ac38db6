#pragma once

#include <QLoggingCategory>

// Logging of classification and the action catalog.

Q_DECLARE_LOGGING_CATEGORY(lcIntake)
