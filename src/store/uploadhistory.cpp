#include "store/uploadhistory.h"

#include "store/actionstore.h"
#include "store/storelogging.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSaveFile>

namespace {

// A hundred links are a few kilobytes; anything far larger is not a file we wrote.
constexpr qint64 maximumFileSize = 4 * 1024 * 1024;

QList<UploadHistory::Entry> readEntries(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(maximumFileSize + 1);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (bytes.size() > maximumFileSize || !document.isArray()) {
        qCWarning(lcHistory, "the upload history cannot be read and starts afresh: %s", qUtf8Printable(error.errorString()));
        return {};
    }
    QList<UploadHistory::Entry> entries;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject object = value.toObject();
        UploadHistory::Entry entry{QDateTime::fromString(object.value(QStringLiteral("time")).toString(), Qt::ISODate),
                                   object.value(QStringLiteral("fileName")).toString(),
                                   object.value(QStringLiteral("url")).toString(),
                                   object.value(QStringLiteral("store")).toString()};
        if (!entry.url.isEmpty())
            entries.append(entry);
    }
    return entries;
}

} // namespace

QString UploadHistory::filePath()
{
    return ActionStore::instance()->applicationSupportDirectory() + QStringLiteral("/uploadHistory.json");
}

bool UploadHistory::append(const QList<Entry> &entries)
{
    if (entries.isEmpty())
        return true;
    const QString path = filePath();
    // The tray and the command line may both finish an upload at once; neither may lose the
    // other's links.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) {
        qCWarning(lcHistory, "the upload history is locked by another process; these links are not kept");
        return false;
    }
    QList<Entry> all = readEntries(path) + entries;
    if (all.size() > MaximumEntries)
        all.remove(0, all.size() - MaximumEntries);

    QJsonArray array;
    for (const Entry &entry : std::as_const(all)) {
        array.append(QJsonObject{{QStringLiteral("time"), entry.time.toUTC().toString(Qt::ISODateWithMs)},
                                 {QStringLiteral("fileName"), entry.fileName},
                                 {QStringLiteral("url"), entry.url},
                                 {QStringLiteral("store"), entry.store}});
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcHistory, "the upload history cannot be written: %s", qUtf8Printable(file.errorString()));
        return false;
    }
    // Links to the user's files: only the user may read them, whatever the umask.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(array).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        qCWarning(lcHistory, "the upload history cannot be written: %s", qUtf8Printable(file.errorString()));
        return false;
    }
    return true;
}

QList<UploadHistory::Entry> UploadHistory::entries()
{
    return readEntries(filePath());
}
