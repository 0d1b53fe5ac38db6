#pragma once

#include <QString>

// What a desktop notification shows. Every notification carries the same identifier, so a
// newer one replaces one still pending or shown.
struct Notification {
    QString identifier = QStringLiteral("131");
    QString title;
    QString body;
    // Resource path of the attached image ("notificationDone" or "notificationFail").
    QString attachmentImage;
    QString attachmentIdentifier = QStringLiteral("att");
    int badge = 0;
};
