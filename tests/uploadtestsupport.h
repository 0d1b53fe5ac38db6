#pragma once

#include "filetestsupport.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include "servers/standinserver.h"

#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>

// Runs the upload actions through the korvane command line against stand-ins that live in the
// test process: the event loop keeps running while korvane does.
namespace UploadTestSupport {

struct RunResult {
    int exitCode = -1;
    QJsonObject json;
    QByteArray output; // standard output and error together, for the secret checks
    QByteArray errors; // standard error alone
    qint64 elapsedMs = 0;
};

// The "progress SENT/TOTAL" lines of a run with --progress, in order.
struct ProgressReport {
    qint64 sent = 0;
    qint64 total = 0;
};

inline QString korvane()
{
    return qEnvironmentVariable("KORVANE_BINARY");
}

// Settings korvane reads, in its own settings file; a null value removes the key.
inline void setSettings(const QHash<QString, QVariant> &values)
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/korvane/korvane.conf");
    QSettings settings(path, QSettings::IniFormat);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.value().isNull())
            settings.remove(it.key());
        else
            settings.setValue(it.key(), it.value());
    }
    settings.sync();
}

// The hosts korvane reads, in its own settings file.
inline void setHosts(const QHash<QString, QString> &hosts)
{
    QHash<QString, QVariant> values;
    for (auto it = hosts.cbegin(); it != hosts.cend(); ++it)
        values.insert(QStringLiteral("hosts/") + it.key(), it.value());
    setSettings(values);
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

// Runs the action on the input (files, or options such as "--image FILE") with --json and
// --progress, under the wrapper command when there is one (such as prlimit). A raw file is
// handed over by the shell's printf, so bytes that are not UTF-8 reach korvane as they are.
// Run as root, korvane runs without root's power to read any file (setpriv), so that a
// file's mode bits apply to it as to a user.
inline RunResult run(const QString &id, const QStringList &files, const QStringList &wrapper = {},
                     const QByteArray &rawFile = {})
{
    RunResult result;
    QProcess process;
    QSignalSpy finished(&process, &QProcess::finished);
    QStringList args = QStringList{QStringLiteral("run"), id} + files
        + QStringList{QStringLiteral("--json"), QStringLiteral("--progress")};
    QString program = korvane();
    if (::geteuid() == 0) {
        args.prepend(program);
        args.prepend(QStringLiteral("--inh-caps=-dac_override,-dac_read_search"));
        args.prepend(QStringLiteral("--bounding-set=-dac_override,-dac_read_search"));
        program = QStringLiteral("setpriv");
    }
    if (!wrapper.isEmpty()) {
        args = wrapper.mid(1) + QStringList{program} + args;
        program = wrapper.first();
    }
    if (!rawFile.isEmpty()) {
        args = FileTestSupport::withRawArgument(program, args, rawFile);
        program = QStringLiteral("/bin/sh");
    }
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    if (!finished.wait(60000)) {
        qWarning("korvane run did not finish");
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.elapsedMs = clock.elapsed();
    result.exitCode = process.exitCode();
    const QByteArray out = process.readAllStandardOutput();
    result.errors = process.readAllStandardError();
    result.output = out + result.errors;
    result.json = QJsonDocument::fromJson(out).object();
    return result;
}

inline QList<ProgressReport> progressReports(const RunResult &result)
{
    QList<ProgressReport> reports;
    static const QRegularExpression line(QStringLiteral("^progress (\\d+)/(\\d+)$"), QRegularExpression::MultilineOption);
    auto matches = line.globalMatch(QString::fromUtf8(result.errors));
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        reports.append({match.captured(1).toLongLong(), match.captured(2).toLongLong()});
    }
    return reports;
}

// The progress of a run that answered every unit: the batch's size throughout (an empty
// file weighing one byte), never going back, and complete once, as the last report. Empty
// when all is well, else what is wrong.
inline QString progressProblem(const RunResult &result, qint64 batchSize)
{
    const QList<ProgressReport> reports = progressReports(result);
    if (reports.isEmpty())
        return QStringLiteral("no progress reported");
    qint64 last = -1;
    int complete = 0;
    for (const ProgressReport &report : reports) {
        if (report.total != batchSize)
            return QStringLiteral("total %1, expected %2").arg(report.total).arg(batchSize);
        if (report.sent <= last)
            return QStringLiteral("went from %1 to %2").arg(last).arg(report.sent);
        if (report.sent > report.total)
            return QStringLiteral("%1 sent of %2").arg(report.sent).arg(report.total);
        last = report.sent;
        complete += report.sent == report.total ? 1 : 0;
    }
    if (complete != 1 || reports.last().sent != batchSize)
        return QStringLiteral("complete %1 times, last %2 of %3").arg(complete).arg(reports.last().sent).arg(batchSize);
    return QString();
}

// The weight of files in a batch's progress.
inline qint64 batchSize(const QStringList &files)
{
    qint64 size = 0;
    for (const QString &file : files)
        size += std::max<qint64>(QFileInfo(file).size(), 1);
    return size;
}

// korvane's upload history file; it outlives a test run, so tests that count it start
// from none.
inline QString historyFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/korvane/uploadHistory.json");
}

// korvane history --json (newest first) and the plain listing, for the secret checks.
inline QJsonArray history(QByteArray *plain = nullptr)
{
    QProcess process;
    process.start(korvane(), {QStringLiteral("history"), QStringLiteral("--json")});
    process.waitForFinished(60000);
    const QByteArray json = process.readAllStandardOutput();
    if (plain) {
        QProcess listing;
        listing.start(korvane(), {QStringLiteral("history")});
        listing.waitForFinished(60000);
        *plain = json + listing.readAllStandardOutput() + listing.readAllStandardError();
    }
    return QJsonDocument::fromJson(json).array();
}

// A link as the actions write it: the key percent-encoded as in a URL query.
inline QString expectedUrl(const QString &domain, const QString &key)
{
    return domain + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(key, "!$&'()*+,;=:@/?"));
}

// A file name of exactly 255 bytes in UTF-8, the most a Linux file system takes, mostly
// Chinese characters, with the extension.
inline QString longName(const QString &extension)
{
    QString name;
    while (name.toUtf8().size() + 3 + 1 + extension.toUtf8().size() <= 255)
        name += QChar(0x7167);
    while (name.toUtf8().size() + 1 + extension.toUtf8().size() < 255)
        name += QLatin1Char('a');
    return name + QLatin1Char('.') + extension;
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

inline QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// What every upload run must show: nothing the stand-in found wrong; the run's success and
// error code (0: none), a partial failure's message counting the files that failed; the
// links on the clipboard and in the notification in any order, or no clipboard at all after
// a failure; none of the secrets in any output; progress over the batch's bytes (the files'
// when not given) that never goes back, or none at all for a batch of 0 bytes: a run that
// ends before its first upload.
inline void checkRun(const StandInServer &server, const RunResult &result, const QStringList &files, bool success,
                     int errorCode, const QStringList &links, const QStringList &secrets, qint64 batch = -1)
{
    QVERIFY2(server.problems().isEmpty(), qPrintable(server.problems().join("; ")));
    QCOMPARE(result.json.value("success").toBool(), success);
    QCOMPARE(result.exitCode, success ? 0 : 1);
    const QJsonObject error = result.json.value("error").toObject();
    QCOMPARE(error.value("code").toInt(), errorCode);
    if (errorCode && success)
        QVERIFY2(error.value("message").toString().contains(QString::number(files.size() - links.size())),
                 qPrintable(error.value("message").toString()));
    if (success) {
        QCOMPARE(sorted(pasted(result).split('\n')), sorted(links));
        QCOMPARE(result.json.value("notification").toObject().value("body").toString(), QString(pasted(result)).replace('\n', ' '));
    } else {
        QVERIFY(result.json.value("pasteboard").isNull());
    }
    for (const QString &secret : secrets)
        QVERIFY2(secret.isEmpty() || !result.output.contains(secret.toUtf8()), qPrintable(secret));
    if (batch == 0) {
        QVERIFY(progressReports(result).isEmpty());
        return;
    }
    const QString progress = progressProblem(result, batch < 0 ? batchSize(files) : batch);
    QVERIFY2(progress.isEmpty(), qPrintable(progress));
}

// A store's stand-in, new for every test function, on the hosts korvane is pointed at, and a
// folder for the files of the test case.
template<typename Server>
struct StoreFixture {
    std::unique_ptr<Server> server;
    std::unique_ptr<QTemporaryDir> dir;

    bool start(const QStringList &hostNames)
    {
        server = std::make_unique<Server>();
        dir = std::make_unique<QTemporaryDir>();
        const bool started = server->start() && dir->isValid() && !korvane().isEmpty();
        QHash<QString, QString> hosts;
        for (const QString &name : hostNames)
            hosts.insert(name, server->baseUrl());
        setHosts(hosts);
        return started;
    }
    QString file(const QString &name, const QByteArray &bytes) const { return writeFile(QDir(dir->path()), name, bytes); }
    // The files of a run: for each name, the bytes the function gives for it and its place.
    QStringList files(const QStringList &names, const std::function<QByteArray(int, const QString &)> &bytes) const
    {
        QStringList written;
        for (int i = 0; i < names.size(); ++i)
            written << file(names[i], bytes(i, names[i]));
        return written;
    }
};

} // namespace UploadTestSupport
