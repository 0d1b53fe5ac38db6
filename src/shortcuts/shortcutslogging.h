#pragma once

#include <QLoggingCategory>

// Logging of the global shortcuts.

Q_DECLARE_LOGGING_CATEGORY(lcShortcuts)
