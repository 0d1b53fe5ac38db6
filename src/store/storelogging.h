#pragma once

#include <QLoggingCategory>

// Logging of the store, its history and its import and export.

Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcHistory)
Q_DECLARE_LOGGING_CATEGORY(lcTransfer)
