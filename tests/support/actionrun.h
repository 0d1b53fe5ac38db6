#pragma once

#include "actions/actionrunner.h"
#include "common/error.h"
#include "intake/droppayload.h"
#include "intake/transferdata.h"
#include "platform/headless/headlessclipboard.h"
#include "platform/headless/headlessnotifier.h"
#include "platform/platform.h"
#include "store/actionstore.h"
#include "store/droplistentity.h"

#include <QList>
#include <QStringList>
#include <QUrl>

// An action run as the popover runs it, on the headless clipboard and notifier.
namespace KorvaneTest {

// What the next run takes, as the list hands it to the row.
DropPayload *dropped();

struct Outcome {
    // -1 when a completion came inside the starting call, which callers must never see.
    int calls = 0;
    bool success = false;
    Korvane::Error error;
    qint64 elapsedMs = 0;
    // The body of the last notification the run posted, and the clipboard's text afterwards.
    QString body;
    QString pasted;
};

// Waits up to timeoutMs for expectedCalls completions (none: just settles), then settleMs
// more, so that a late second completion or notification shows.
Outcome runAction(const DropListEntityPtr &drop, int expectedCalls = 1, int timeoutMs = 30000, int settleMs = 50);

// A pasteboard of items described as "png", "tiff", "text:TEXT", "rtf:SOURCE", "url:ADDRESS"
// (a web link), "other" (a type Korvane does not read) or a file's path, "file:" before it or not.
TransferData pasteboardFrom(const QStringList &items);

// Classifies the items as a drop of them does.
void dropItems(const QStringList &items);

// Image files or image data as a drop holds them.
void dropImages(const QList<QUrl> &files, const QByteArray &imageData = QByteArray());

} // namespace KorvaneTest
