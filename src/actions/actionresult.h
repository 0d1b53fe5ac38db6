#pragma once

#include "common/completion.h"
#include "platform/notification.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// What one run of an action gave: how it ended, what it put on the clipboard and the
// notifications it posted, in order. The desktop shows it as it happens; the command line
// prints it once the run has ended.
struct ActionResult {
    // The clipboard's new content, if the run wrote one: text, encoded image bytes, or
    // objects (the URLs of files it wrote, or of uploads).
    enum class Content {
        None,
        Text,
        ImageData,
        Objects,
    };

    Korvane::Outcome outcome = Korvane::Outcome::NothingToReport;
    Korvane::Error error;
    Content content = Content::None;
    QString text;
    QByteArray imageData;
    QString imageMimeType;
    QVariantList objects;
    QList<Notification> notifications;
};
