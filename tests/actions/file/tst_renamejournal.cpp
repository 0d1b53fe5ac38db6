// Test data reads better with plain literals than with QStringLiteral around each.
#undef QT_NO_CAST_FROM_ASCII

#include "support/files.h"
#include "support/korvanecli.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace KorvaneTest;

// Renames and moves a thousand files with korvane itself and kills it with SIGKILL at
// random moments; after every kill a fresh start must bring every file back exactly once.
class RenameJournalTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedRunsLoseNothing();
};

void RenameJournalTest::killedRunsLoseNothing()
{
    const QString temp = qEnvironmentVariable("XDG_DATA_HOME") + "/korvane/Temp";
    QTemporaryDir dir;
    const QStringList folders{dir.filePath("a"), dir.filePath("b")};
    QMap<QByteArray, int> originals;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray content = "file " + QByteArray::number(i) + QByteArray(i % 50, 'x');
        QVERIFY(writeFile(dir.filePath(QString("a/f%1.txt").arg(i)), content));
        originals.insert(QCryptographicHash::hash(content, QCryptographicHash::Sha1), 1);
    }
    QDir().mkpath(folders[1]);

    const QStringList actions{
        addAction({"1", "17", "--set", "needCustomize=1", "--set", "customizeType=1", "--set", "customizeString=p"}),
        addAction({"1", "17", "--set", "needCustomize=1", "--set", "customizeType=2", "--set", "customizeString=q",
                   "--set", "customizeStartLetter=k"}),
        addAction({"1", "17", "--set", "needAdd=1", "--set", "addString=_"}),
        addAction({"1", "8", "--set", "savePath=" + folders[0]}),
        addAction({"1", "8", "--set", "savePath=" + folders[1]}),
    };
    for (const QString &action : actions)
        QVERIFY2(action.toInt() != 0, qPrintable(action));

    const auto currentFiles = [&] {
        QStringList files;
        for (const QString &folder : folders) {
            for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                files << folder + '/' + name;
        }
        return files;
    };

    // How long an undisturbed run takes tells where the random kills should fall.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(runKorvane(QStringList{"run", actions[0]} + currentFiles()).exitCode, 0);
    const qint64 runTime = qMax<qint64>(clock.elapsed(), 50);

    int kills = 0;
    int rounds = 0;
    int recoveries = 0;
    auto *random = QRandomGenerator::global();
    // Bounded by rounds, not time: a slow machine or a sanitizer build takes longer per round
    // but kills as often.
    while (kills < 60 && rounds < 120) {
        ++rounds;
        const QString action = actions[random->bounded(int(actions.size()))];
        QProcess process;
        process.start(korvaneBinary(), QStringList{"run", action} + currentFiles());
        QVERIFY(process.waitForStarted());
        if (!process.waitForFinished(int(random->bounded(runTime + runTime / 4)) + 1)) {
            process.kill();
            process.waitForFinished();
            ++kills;
        }
        const Result list = runKorvane({"list"});
        QCOMPARE(list.exitCode, 0);
        if (list.err.contains("finished an interrupted rename"))
            ++recoveries;

        QMap<QByteArray, int> found;
        const QStringList files = currentFiles();
        for (const QString &file : files)
            ++found[QCryptographicHash::hash(readFile(file), QCryptographicHash::Sha1)];
        if (found != originals) {
            for (auto it = originals.cbegin(); it != originals.cend(); ++it) {
                if (found.value(it.key()) != 1)
                    qWarning("round %d: a file is there %d times", rounds, found.value(it.key()));
            }
        }
        QCOMPARE(found.size(), originals.size());
        QCOMPARE(found, originals);
        QCOMPARE(tree(temp), (QMap<QString, QByteArray>()));
        for (const QString &folder : folders)
            QCOMPARE(QDir(folder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
    qInfo("%d rounds, %d killed, %d recoveries moved files, an undisturbed run takes %lld ms", rounds, kills, recoveries,
          runTime);
    QVERIFY(kills >= 50);
    // Kills that only ever hit start-up or moves would leave the journal untried.
    QVERIFY(recoveries >= 3);
}

QTEST_GUILESS_MAIN(RenameJournalTest)
#include "tst_renamejournal.moc"
