#pragma once

#include <QLoggingCategory>

// The ground floor's own category; each library declares its categories in a header of its own,
// so QT_LOGGING_RULES="korvane.<module>.debug=true" reaches all of a module's files.

Q_DECLARE_LOGGING_CATEGORY(lcCompletion)
