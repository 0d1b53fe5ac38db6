#pragma once

#include "servers/standinserver.h"
#include "support/files.h"
#include "support/korvanecli.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QtTest>

#include <functional>
#include <memory>

// Runs the upload actions through the korvane command line against stand-ins that live in the
// test process: the event loop keeps running while korvane does.
namespace KorvaneTest {

struct RunResult {
    int exitCode = -1;
    QJsonObject json;
    QByteArray output; // standard output and error together, for the secret checks
    QByteArray errors; // standard error alone
    qint64 elapsedMs = 0;
};

// One "progress SENT/TOTAL" line of a run with --progress.
struct ProgressReport {
    qint64 sent = 0;
    qint64 total = 0;
};

// Settings korvane reads, in its own settings file; a null value removes the key.
void setSettings(const QHash<QString, QVariant> &values);
// The hosts korvane reads, in its own settings file.
void setHosts(const QHash<QString, QString> &hosts);

// A new file action of the type with its settings; the action's id.
QString addUploadAction(int type, const QStringList &assignments);

// Runs the action on the input (files, or options such as "--image FILE") with --json and
// --progress, under the wrapper command when there is one (such as prlimit). A raw file is
// handed over by the shell's printf, so bytes that are not UTF-8 reach korvane as they are.
RunResult runUpload(const QString &id, const QStringList &files, const QStringList &wrapper = {},
                    const QByteArray &rawFile = {});

// The progress reports of a run, in order.
QList<ProgressReport> progressReports(const RunResult &result);

// The progress of a run that answered every unit: the batch's size throughout (an empty
// file weighing one byte), never going back, and complete once, as the last report. Empty
// when all is well, else what is wrong.
QString progressProblem(const RunResult &result, qint64 batchSize);

// The weight of files in a batch's progress.
qint64 batchSize(const QStringList &files);

// korvane's upload history file; it outlives a test run, so tests that count it start
// from none.
QString historyFile();

// korvane history --json (newest first) and the plain listing, for the secret checks.
QJsonArray history(QByteArray *plain = nullptr);

// A link as the actions write it: the key percent-encoded as in a URL query.
QString expectedUrl(const QString &domain, const QString &key);

// A file name of exactly 255 bytes in UTF-8, the most a Linux file system takes, mostly
// Chinese characters, with the extension.
QString longName(const QString &extension);

QString pasted(const RunResult &result);

// A small PNG whose pixels differ with the seed.
QByteArray samplePng(int seed);

QStringList sorted(QStringList list);

// What every upload run must show: nothing the stand-in found wrong; the run's success and
// error code (0: none), a partial failure's message counting the files that failed; the
// links on the clipboard and in the notification in any order, or no clipboard at all after
// a failure; none of the secrets in any output; progress over the batch's bytes (the files'
// when not given) that never goes back, or none at all for a batch of 0 bytes: a run that
// ends before its first upload.
void checkRun(const StandInServer &server, const RunResult &result, const QStringList &files, bool success,
              int errorCode, const QStringList &links, const QStringList &secrets, qint64 batch = -1);

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
        const bool started = server->start() && dir->isValid() && !korvaneBinary().isEmpty();
        QHash<QString, QString> hosts;
        for (const QString &name : hostNames)
            hosts.insert(name, server->baseUrl());
        setHosts(hosts);
        return started;
    }
    QString file(const QString &name, const QByteArray &bytes) const { return writtenFile(dir->filePath(name), bytes); }
    // The files of a run: for each name, the bytes the function gives for it and its place.
    QStringList files(const QStringList &names, const std::function<QByteArray(int, const QString &)> &bytes) const
    {
        QStringList written;
        for (int i = 0; i < names.size(); ++i)
            written << file(names[i], bytes(i, names[i]));
        return written;
    }
};

} // namespace KorvaneTest
