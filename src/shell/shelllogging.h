#pragma once

#include <QLoggingCategory>

// Logging of the tray, its lists and the preferences.

Q_DECLARE_LOGGING_CATEGORY(lcPanels)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
Q_DECLARE_LOGGING_CATEGORY(lcEditor)
Q_DECLARE_LOGGING_CATEGORY(lcGeneral)
Q_DECLARE_LOGGING_CATEGORY(lcBindings)
Q_DECLARE_LOGGING_CATEGORY(lcUpdateView)
