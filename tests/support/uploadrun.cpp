#include "support/uploadrun.h"

#include "support/ocrimages.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

namespace KorvaneTest {

void setSettings(const QHash<QString, QVariant> &values)
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

void setHosts(const QHash<QString, QString> &hosts)
{
    QHash<QString, QVariant> values;
    for (auto it = hosts.cbegin(); it != hosts.cend(); ++it)
        values.insert(QStringLiteral("hosts/") + it.key(), it.value());
    setSettings(values);
}

QString addUploadAction(int type, const QStringList &assignments)
{
    QStringList args{QStringLiteral("1"), QString::number(type), QStringLiteral("--title"), QStringLiteral("Upload")};
    for (const QString &assignment : assignments)
        args << QStringLiteral("--set") << assignment;
    return addAction(args);
}

RunResult runUpload(const QString &id, const QStringList &files, const QStringList &wrapper, const QByteArray &rawFile)
{
    RunResult result;
    QProcess process;
    QStringList args = QStringList{QStringLiteral("run"), id} + files
        + QStringList{QStringLiteral("--json"), QStringLiteral("--progress")};
    QString program = korvaneBinary();
    dropRootPower(program, args);
    if (!wrapper.isEmpty()) {
        args = wrapper.mid(1) + QStringList{program} + args;
        program = wrapper.first();
    }
    if (!rawFile.isEmpty()) {
        args = withRawArgument(program, args, rawFile);
        program = QStringLiteral("/bin/sh");
    }
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    const Result finished = finish(process, 60000);
    result.elapsedMs = clock.elapsed();
    result.exitCode = finished.exitCode;
    result.errors = finished.err;
    result.output = finished.out + finished.err;
    result.json = QJsonDocument::fromJson(finished.out).object();
    return result;
}

QList<ProgressReport> progressReports(const RunResult &result)
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

QString progressProblem(const RunResult &result, qint64 batchSize)
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

qint64 batchSize(const QStringList &files)
{
    qint64 size = 0;
    for (const QString &file : files)
        size += std::max<qint64>(QFileInfo(file).size(), 1);
    return size;
}

QString historyFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/korvane/uploadHistory.json");
}

QJsonArray history(QByteArray *plain)
{
    const QByteArray json = runKorvane({QStringLiteral("history"), QStringLiteral("--json")}).out;
    if (plain) {
        const Result listing = runKorvane({QStringLiteral("history")});
        *plain = json + listing.out + listing.err;
    }
    return QJsonDocument::fromJson(json).array();
}

QString expectedUrl(const QString &domain, const QString &key)
{
    return domain + QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(key, "!$&'()*+,;=:@/?"));
}

QString longName(const QString &extension)
{
    QString name;
    while (name.toUtf8().size() + 3 + 1 + extension.toUtf8().size() <= 255)
        name += QChar(0x7167);
    while (name.toUtf8().size() + 1 + extension.toUtf8().size() < 255)
        name += QLatin1Char('a');
    return name + QLatin1Char('.') + extension;
}

QString pasted(const RunResult &result)
{
    return result.json.value(QStringLiteral("pasteboard")).toObject().value(QStringLiteral("text")).toString();
}

QByteArray samplePng(int seed)
{
    QImage image(4 + seed % 5, 3, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(QRgb(0x102030 * (seed + 1))));
    return encoded(image, "PNG");
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

void checkRun(const StandInServer &server, const RunResult &result, const QStringList &files, bool success,
              int errorCode, const QStringList &links, const QStringList &secrets, qint64 batch)
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

} // namespace KorvaneTest
