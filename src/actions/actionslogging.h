#pragma once

#include <QLoggingCategory>

// Logging of the actions and the plug-ins they load.

Q_DECLARE_LOGGING_CATEGORY(lcChinese)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcImageActions)
Q_DECLARE_LOGGING_CATEGORY(lcOcr)
Q_DECLARE_LOGGING_CATEGORY(lcShare)
Q_DECLARE_LOGGING_CATEGORY(lcTextActions)
Q_DECLARE_LOGGING_CATEGORY(lcUpload)
Q_DECLARE_LOGGING_CATEGORY(lcPlugins)
