#include "actions/share/shareservice.h"

#include "actions/file/filemanager.h"
#include "image/imagecodec.h"
#include "actions/outputnaming.h"
#include "common/logtext.h"
#include "platform/platform.h"
#include "platform/sharebackend.h"
#include "platform/urlopener.h"
#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <algorithm>
#include <memory>

namespace {

const QString kdeConnect = QStringLiteral("kdeconnect-cli");

void onMain(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

void runInOrder(const std::shared_ptr<QList<QStringList>> &commands, qsizetype next,
                const std::function<void(bool allSent)> &done)
{
    if (next == commands->size()) {
        done(true);
        return;
    }
    Platform::shareBackend()->run(kdeConnect, commands->at(next),
                                  [commands, next, done](const ShareBackend::Result &result) {
                                      if (!result.started || result.exitCode != 0) {
                                          done(false);
                                          return;
                                      }
                                      runInOrder(commands, next + 1, done);
                                  });
}

// Opens the new file for writing under the first free variant of the wanted path. Opening
// with NewOnly never replaces a file, even one that appears between the check and the open.
bool openFreeFile(QFile &file, const QString &wanted)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = OutputNaming::destFile(wanted);
        if (path.isEmpty())
            return false;
        file.setFileName(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(path))
            return false;
    }
    return false;
}

bool copyInto(const QString &folder, const QString &source, QString *written)
{
    QFile in(source);
    if (!FileManager::isRegularFile(source, nullptr) || !in.open(QIODevice::ReadOnly))
        return false;
    QFile out;
    if (!openFreeFile(out, QDir(folder).filePath(QFileInfo(source).fileName())))
        return false;
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    bool ok = true;
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0 || (n > 0 && out.write(buffer.constData(), n) != n)) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
    }
    ok = ok && out.flush();
    out.close();
    if (!ok) {
        out.remove();
        return false;
    }
    *written = out.fileName();
    return true;
}

// The image data as a PNG file, whatever type it came as.
bool savePng(const QString &folder, const QByteArray &imageData, QString *written)
{
    const QByteArray png = ImageCodec::encode(imageData, ImageCodec::Format::Png);
    if (png.isEmpty())
        return false;
    const QString name = QStringLiteral("Image %1.png")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss")));
    QFile out;
    if (!openFreeFile(out, QDir(folder).filePath(name)))
        return false;
    if (out.write(png) != png.size() || !out.flush()) {
        out.close();
        out.remove();
        return false;
    }
    *written = out.fileName();
    return true;
}

// Whether the file's first bytes are those of an image we read; its name does not decide.
bool isImageFile(const QString &path)
{
    QFile file(path);
    return FileManager::isRegularFile(path, nullptr) && file.open(QIODevice::ReadOnly)
        && ImageCodec::formatOf(file.peek(16)) != ImageCodec::Format::Unknown;
}

} // namespace

ShareService *ShareService::instance()
{
    static ShareService instance;
    return &instance;
}

QString ShareService::photoFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + QStringLiteral("/Korvane");
}

void ShareService::shareOnEmail(const QString &text, const QList<QUrl> &files, const QString &title,
                                const QStringList &emails)
{
    // xdg-email refuses empty values and takes only regular files as attachments, so those
    // are left out here rather than failing the whole mail.
    QStringList arguments{QStringLiteral("--utf8")};
    if (!title.isEmpty())
        arguments << QStringLiteral("--subject") << title;
    for (const QString &email : emails) {
        if (email.isEmpty())
            continue;
        arguments << QStringLiteral("--to") << email;
    }
    if (!text.isEmpty())
        arguments << QStringLiteral("--body") << text;
    for (const QUrl &file : files) {
        const QString path = file.toLocalFile();
        if (!QFileInfo(path).isFile()) {
            qCWarning(lcShare, "a mail cannot carry %s: not a regular file",
                      qUtf8Printable(LogText::summary(path, lcShare())));
            continue;
        }
        arguments << QStringLiteral("--attach") << path;
    }
    onMain([this, arguments] {
        if (!Platform::shareBackend()->startDetached(QStringLiteral("xdg-email"), arguments)) {
            qCWarning(lcShare, "请配置邮箱账号");
            qCWarning(lcShare, "xdg-email could not be started: install xdg-utils and set up a mail client");
            return;
        }
        sharingServiceDidShareItems(ShareKind::Email);
    });
}

void ShareService::shareOnIMessage(const QString &text, const QList<QUrl> &files, const QStringList &phones,
                                   const Handover &handover)
{
    QStringList recipients;
    for (const QString &phone : phones) {
        if (!phone.isEmpty())
            recipients.append(phone);
    }
    const DeviceTask task = [text, files, recipients](const QString &device) {
        QList<QStringList> commands;
        if (!text.isEmpty() && recipients.isEmpty()) {
            qCInfo(lcShare, "a message without recipients goes to the device as shared text");
            commands.append({QStringLiteral("--share-text"), text, QStringLiteral("-d"), device});
        }
        if (!text.isEmpty()) {
            for (const QString &recipient : recipients) {
                commands.append({QStringLiteral("--send-sms"), text, QStringLiteral("--destination"), recipient,
                                 QStringLiteral("-d"), device});
            }
        }
        for (const QUrl &file : files)
            commands.append({QStringLiteral("--share"), file.toLocalFile(), QStringLiteral("-d"), device});
        return commands;
    };
    onMain([this, task, handover] { sendThroughDevice(ShareKind::Message, task, handover); });
}

void ShareService::shareOnAirDrop(const QList<QUrl> &items, const Handover &handover)
{
    const DeviceTask task = [items](const QString &device) {
        QList<QStringList> commands;
        for (const QUrl &item : items)
            commands.append({QStringLiteral("--share"), item.toLocalFile(), QStringLiteral("-d"), device});
        return commands;
    };
    onMain([this, task, handover] { sendThroughDevice(ShareKind::AirDrop, task, handover); });
}

void ShareService::sendThroughDevice(ShareKind kind, const DeviceTask &task, const Handover &handover)
{
    const auto report = [this, kind, handover](const Korvane::Error &error) {
        if (error.isNull())
            sharingServiceDidShareItems(kind);
        else
            sharingServiceDidFailToShareItems(kind, error);
        if (handover)
            handover(error);
    };
    Platform::shareBackend()->run(
        kdeConnect, {QStringLiteral("--list-available"), QStringLiteral("--id-only")},
        [task, report](const ShareBackend::Result &result) {
            if (!result.started) {
                qCWarning(lcShare, "kdeconnect-cli is not installed: install KDE Connect to share with a phone");
                report(Korvane::Error(shareErrorCode, qtTrId("ShareNeedsKDEConnect")));
                return;
            }
            QString device;
            for (const QByteArray &line : result.standardOutput.split('\n')) {
                device = QString::fromUtf8(line.trimmed());
                if (!device.isEmpty())
                    break;
            }
            if (result.exitCode != 0 || device.isEmpty()) {
                qCWarning(lcShare, "KDE Connect knows no reachable paired device");
                report(Korvane::Error(shareErrorCode, qtTrId("ShareNeedsPairedDevice")));
                return;
            }
            const auto commands = std::make_shared<QList<QStringList>>(task(device));
            runInOrder(commands, 0, [report](bool allSent) {
                report(allSent ? Korvane::Error() : Korvane::Error(shareErrorCode, qtTrId("ShareSendFailed")));
            });
        });
}

QStringList ShareService::addToPhoto(const QList<QUrl> &images, const QList<QUrl> &videos,
                                     const QByteArray &imageData, bool isOpen)
{
    const QString folder = photoFolder();
    if (!QDir().mkpath(folder)) {
        sharingServiceDidFailToShareItems(ShareKind::Photos,
                                          Korvane::Error(shareErrorCode, QStringLiteral("cannot create %1").arg(folder)));
        return {};
    }
    QStringList written;
    bool failed = false;
    const auto add = [&](bool ok, const QString &path, const QString &source) {
        if (ok) {
            written.append(path);
        } else {
            failed = true;
            qCWarning(lcShare, "could not add %s to %s",
                      qUtf8Printable(LogText::summary(source, lcShare())), qUtf8Printable(folder));
        }
    };
    for (const QUrl &image : images) {
        const QString source = image.toLocalFile();
        if (!isImageFile(source)) {
            qCInfo(lcShare, "left out %s: it does not decode as an image",
                   qUtf8Printable(LogText::summary(source, lcShare())));
            continue;
        }
        QString path;
        add(copyInto(folder, source, &path), path, source);
    }
    for (const QUrl &video : videos) {
        const QString source = video.toLocalFile();
        QString path;
        add(copyInto(folder, source, &path), path, source);
    }
    if (!imageData.isEmpty()) {
        ImageCodec::Header header;
        if (!ImageCodec::readHeader(imageData, &header)) {
            qCInfo(lcShare, "left out the image data: it does not decode as an image");
        } else {
            QString path;
            add(savePng(folder, imageData, &path), path, QStringLiteral("the image data"));
        }
    }
    // The first picture added stands for the photo library: the desktop's image viewer shows
    // it and lets the user page through the rest of the folder.
    const auto firstPicture = std::find_if(written.cbegin(), written.cend(), [](const QString &path) { return isImageFile(path); });
    if (isOpen && firstPicture != written.cend()) {
        onMain([picture = *firstPicture] {
            if (!Platform::urlOpener()->openURLs({QUrl::fromLocalFile(picture)}))
                qCWarning(lcShare, "could not open the added picture in the image viewer");
        });
    }
    if (failed)
        sharingServiceDidFailToShareItems(ShareKind::Photos, Korvane::Error(shareErrorCode, QString()));
    else
        sharingServiceDidShareItems(ShareKind::Photos);
    return written;
}

void ShareService::sharingServiceDidShareItems(ShareKind kind)
{
    switch (kind) {
    case ShareKind::AirDrop:
        qCInfo(lcShare, "分享AirDrop成功");
        break;
    case ShareKind::Message:
        qCInfo(lcShare, "分享iMessage成功");
        break;
    case ShareKind::Email:
        qCInfo(lcShare, "分享Email成功");
        break;
    case ShareKind::Photos:
        qCInfo(lcShare, "添加照片到相册成功");
        break;
    }
}

void ShareService::sharingServiceDidFailToShareItems(ShareKind kind, const Korvane::Error &error)
{
    switch (kind) {
    case ShareKind::AirDrop:
        qCWarning(lcShare, "分享AirDrop失败");
        break;
    case ShareKind::Message:
        qCWarning(lcShare, "分享iMessage失败");
        break;
    case ShareKind::Email:
        qCWarning(lcShare, "分享Email失败");
        break;
    case ShareKind::Photos:
        if (error.isNull())
            qCInfo(lcShare, "添加照片到相册成功");
        else
            qCWarning(lcShare, "添加照片到相册失败");
        break;
    }
}
