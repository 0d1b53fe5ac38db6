#include "support/actionrun.h"

#include "actions/actionrunner.h"
#include "platform/headless/headlessclipboard.h"
#include "platform/headless/headlessnotifier.h"
#include "platform/platform.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThreadPool>

namespace KorvaneTest {

DropPayload *dropped()
{
    static DropPayload payload;
    return &payload;
}

Outcome runAction(const DropListEntityPtr &drop, int expectedCalls, int timeoutMs, int settleMs)
{
    auto *notifier = dynamic_cast<HeadlessNotifier *>(Platform::notifier());
    const qsizetype postsBefore = notifier ? notifier->posted().size() : 0;
    Outcome outcome;
    bool inside = true;
    bool calledInside = false;
    QElapsedTimer clock;
    clock.start();
    ActionRunner::run(drop, *dropped(), [&](bool success, const Korvane::Error &error) {
        ++outcome.calls;
        calledInside = calledInside || inside;
        outcome.success = success;
        outcome.error = error;
        outcome.elapsedMs = clock.elapsed();
    });
    inside = false;
    if (expectedCalls > 0 && !QTest::qWaitFor([&] { return outcome.calls >= expectedCalls; }, timeoutMs))
        qWarning("the action did not complete in %d ms", timeoutMs);
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(settleMs);
    if (calledInside)
        outcome.calls = -1;
    if (notifier && notifier->posted().size() > postsBefore)
        outcome.body = notifier->posted().last().body;
    if (auto *clipboard = dynamic_cast<HeadlessClipboard *>(Platform::clipboard()))
        outcome.pasted = clipboard->text();
    return outcome;
}

TransferData pasteboardFrom(const QStringList &items)
{
    TransferData pasteboard;
    for (const QString &description : items) {
        TransferItem item;
        const QString value = description.section(QLatin1Char(':'), 1);
        if (description.startsWith(QLatin1Char('/')) || description.startsWith(QLatin1String("file:"))) {
            const QString path = description.startsWith(QLatin1Char('/')) ? description : value;
            item.setData(TransferType::FileURL, QUrl::fromLocalFile(path).toEncoded());
            // File managers offer the path as text too; it must never be read as text.
            item.setData(TransferType::String, path.toUtf8());
        } else if (description == QLatin1String("png")) {
            item.setData(TransferType::PNG, QByteArray("\x89PNG-bytes"));
        } else if (description == QLatin1String("tiff")) {
            item.setData(TransferType::TIFF, QByteArray("II*\0tiff-bytes", 14));
        } else if (description.startsWith(QLatin1String("text:"))) {
            item.setData(TransferType::String, value.toUtf8());
        } else if (description.startsWith(QLatin1String("rtf:"))) {
            item.setData(TransferType::RTF, value.toUtf8());
        } else if (description.startsWith(QLatin1String("url:"))) {
            item.setData(TransferType::URL, value.toUtf8());
        }
        pasteboard.addItem(item);
    }
    return pasteboard;
}

void dropItems(const QStringList &items)
{
    *dropped() = DropPayload::classify(pasteboardFrom(items));
}

void dropImages(const QList<QUrl> &files, const QByteArray &imageData)
{
    DropPayload *data = dropped();
    data->setImageData(imageData);
    data->setContainedFileType(files.isEmpty() ? 0 : FileKindAnyFile | FileKindImage);
    data->setImgFileUrls(files);
    data->setAllFileUrls(files);
}

} // namespace KorvaneTest
