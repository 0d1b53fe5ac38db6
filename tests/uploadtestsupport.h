#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QtTest>

// Runs the upload actions through the korvane command line against stand-ins that live in the
// test process: the event loop keeps running while korvane does.
namespace UploadTestSupport {

struct RunResult
{
    int exitCode = -1;
    QJsonObject json;
    QByteArray output;  // standard output and error together, for the secret checks
};

inline QString korvane()
{
    return qEnvironmentVariable("KORVANE_BINARY");
}

// The hosts korvane reads, in its own settings file.
inline void setHosts(const QHash<QString, QString> &hosts)
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                       + QStringLiteral("/korvane/korvane.conf");
    QSettings settings(path, QSettings::IniFormat);
    for (auto it = hosts.cbegin(); it != hosts.cend(); ++it)
        settings.setValue(QStringLiteral("hosts/") + it.key(), it.value());
    settings.sync();
}

// A new file action of the type with its settings; the action's id.
inline QString addAction(int type, const QStringList &assignments)
{
    QStringList args{QStringLiteral("add"), QStringLiteral("1"), QString::number(type), QStringLiteral("--title"),
                     QStringLiteral("Upload")};
    for (const QString &assignment : assignments)
        args << QStringLiteral("--set") << assignment;
    QProcess add;
    add.start(korvane(), args);
    if (!add.waitForFinished(60000) || add.exitCode() != 0) {
        qWarning("korvane add failed: %s", add.readAllStandardError().constData());
        return QString();
    }
    return QString::fromUtf8(add.readAllStandardOutput().trimmed());
}

inline RunResult run(const QString &id, const QStringList &files)
{
    RunResult result;
    QProcess process;
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(korvane(), QStringList{QStringLiteral("run"), id} + files + QStringList{QStringLiteral("--json")});
    if (!finished.wait(60000)) {
        qWarning("korvane run did not finish");
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    const QByteArray out = process.readAllStandardOutput();
    result.output = out + process.readAllStandardError();
    result.json = QJsonDocument::fromJson(out).object();
    return result;
}

inline QString pasted(const RunResult &result)
{
    return result.json.value(QStringLiteral("pasteboard")).toObject().value(QStringLiteral("text")).toString();
}

inline QByteArray png(int seed)
{
    QImage image(4 + seed % 5, 3, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(QRgb(0x102030 * (seed + 1))));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline QString writeFile(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qWarning("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

} // namespace UploadTestSupport
