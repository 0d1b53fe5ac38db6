#include "clitestsupport.h"
#include "sharetestsupport.h"

#include <QImage>
#include <QJsonObject>

#include <sys/stat.h>

using ShareTestSupport::calls;

// The sharing and the remaining text actions as users run them: the real korvane executable,
// on data folders and a home of its own, with stand-ins of the desktop tools on PATH.
class ShareCliTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void photosFromImageData();
    void customUrlLaunch_data();
    void customUrlLaunch();
    void capitalAmountInTheUsersLocale_data();
    void capitalAmountInTheUsersLocale();
    void refusedTexts_data();
    void refusedTexts();

private:
    Result korvane(const QStringList &args) const { return m_korvane.run(args); }
    QString record() const { return m_korvane.path(QStringLiteral("record")); }
    QString home() const { return m_korvane.path(QStringLiteral("home")); }

    Korvane m_korvane;
};

void ShareCliTest::initTestCase()
{
    QVERIFY(!qEnvironmentVariableIsEmpty("KORVANE_BINARY"));
    const QString bin = m_korvane.path(QStringLiteral("bin"));
    QVERIFY(ShareTestSupport::installStandIns(bin, record()));
    QVERIFY(QDir().mkpath(home()));
    m_korvane.prependPath(bin);
    m_korvane.setEnv(QStringLiteral("HOME"), home());
    m_korvane.setEnv(QStringLiteral("KDECONNECT_DEVICES"), QStringLiteral("phone1\n"));
}

void ShareCliTest::init()
{
    QDir(record()).removeRecursively();
    QDir().mkpath(record());
}

// Each drop of image data is a new picture, never one written over; the latest one opens.
void ShareCliTest::photosFromImageData()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(9, 99, 199));
    QVERIFY(image.save(m_korvane.path("data.png")));
    QCOMPARE(korvane({"add", "1", "6", "--title", "To Photos", "--set", "needLaunch=1"}).exitCode, 0);
    const QString folder = home() + QStringLiteral("/Pictures/Korvane");
    for (int round = 1; round <= 2; ++round) {
        const QStringList before = QDir(folder).entryList(QDir::Files);
        const Result result = korvane({"run", "To Photos", "--image", m_korvane.path("data.png")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QByteArray("To Photos succeeded: The image was added to Pictures/Korvane.\n"));
        QStringList written = QDir(folder).entryList(QDir::Files);
        QCOMPARE(written.size(), round);
        written.removeOne(before.value(0));
        QImage back;
        QVERIFY(back.load(folder + QLatin1Char('/') + written.first()));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), image);
        const QString picture = QString::fromUtf8(QUrl::fromLocalFile(folder + '/' + written.first()).toEncoded());
        QTRY_COMPARE(calls(record(), "xdg-open").value(round - 1), QStringList{picture});
    }
}

void ShareCliTest::customUrlLaunch_data()
{
    QTest::addColumn<QString>("url"); // the action's one template; none when empty
    QTest::addColumn<QByteArray>("status"); // xdg-open's
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");
    const QString url = "korvane-test:find?q={text}";
    QTest::newRow("opened") << url << QByteArray("0") << 0 << QByteArray("Probe succeeded: korvane-test:find?q=a b \n");
    QTest::newRow("no handler for the scheme") << url << QByteArray("4") << 1
                                               << QByteArray("Probe failed: No application opens korvane-test: addresses.\n");
    QTest::newRow("no URL") << QString() << QByteArray("0") << 1
                            << QByteArray("Probe failed: This action has no URL yet. Add one in its settings.\n");
}

void ShareCliTest::customUrlLaunch()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, status);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);
    QFile statusFile(record() + QStringLiteral("/xdg-open.status"));
    QVERIFY(statusFile.open(QIODevice::WriteOnly) && statusFile.write(status + '\n') > 0 && statusFile.flush());
    QStringList add{"add", "0", "5", "--title", "Probe"};
    if (!url.isEmpty())
        add << "--set"
            << "urls+=" + url;
    const QString id = QString::fromUtf8(korvane(add).out.trimmed());
    const Result result = korvane({"run", id, "--text", "a b"});
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.err, err);
    QCOMPARE(calls(record(), "xdg-open"), url.isEmpty() ? QList<QStringList>{} : QList<QStringList>{{"korvane-test:find?q=a%20b"}});
}

void ShareCliTest::capitalAmountInTheUsersLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    QTest::newRow("English grouping") << "en_US.UTF-8"
                                      << "1,234.56" << 0 << QByteArray("人民币壹仟貳佰叁拾肆元伍角陆分\n");
    QTest::newRow("German grouping and comma") << "de_DE.UTF-8"
                                               << "1.234,56" << 0 << QByteArray("人民币壹仟貳佰叁拾肆元伍角陆分\n");
    QTest::newRow("German whole amount") << "de_DE.UTF-8"
                                         << "12" << 0 << QByteArray("人民币壹拾貳圆整\n");
    QTest::newRow("not a number") << "en_US.UTF-8"
                                  << "abc" << 1 << QByteArray();
}

void ShareCliTest::capitalAmountInTheUsersLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    Korvane korvane(locale);
    QCOMPARE(korvane.run({"add", "0", "7", "--title", "Capital Both", "--set", "autoBegin=1", "--set", "autoEnd=1"}).exitCode, 0);
    const Result result = korvane.run({"run", "Capital Both", "--text", text});
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.out, output);
    if (exitCode != 0)
        QCOMPARE(result.err, QByteArray("Capital Both failed: Please drop a number, such as 1234.56.\n"));
}

// Text inputs that are no regular file or too long, and mail or message texts too long for one
// argument: refused with an error that names the input and the limit, exit 1, nothing sent.
void ShareCliTest::refusedTexts_data()
{
    QTest::addColumn<QStringList>("add");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("error");
    const QStringList convert{"add", "0", "6"};
    QTest::newRow("FIFO") << convert << "{D}/fifo"
                          << "{D}/fifo” is not a regular file";
    QTest::newRow("/dev/zero") << convert << "/dev/zero"
                               << "/dev/zero” is not a regular file";
    QTest::newRow("/dev/stdin, a pipe") << convert << "/dev/stdin"
                                        << "/dev/stdin” is not a regular file";
    QTest::newRow("one byte over 16 MiB") << convert << "{D}/big"
                                          << "{D}/big is larger than 16 MiB";
    const QString tooLong = "131072 bytes long; a mail or message can carry at most 131071";
    QTest::newRow("mail over 128 KiB") << QStringList{"add", "0", "3", "--set", "receives=a@x.org"} << "{D}/long" << tooLong;
    QTest::newRow("message over 128 KiB") << QStringList{"add", "0", "4", "--set", "receives=+100"} << "{D}/long" << tooLong;
}

void ShareCliTest::refusedTexts()
{
    QFETCH(QStringList, add);
    QFETCH(QString, input);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    for (const auto &[name, size] : {std::pair{"big", (16 << 20) + 1}, std::pair{"long", 128 * 1024}}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    const QByteArray id = korvane(add).out.trimmed();
    const Result result = korvane({"run", QString::fromUtf8(id), "--text-file", input.replace("{D}", dir.path()), "--json"});
    QCOMPARE(result.exitCode, 1);
    const QString message = QString::fromUtf8(result.err) + result.json().object().value("error").toObject().value("message").toString();
    QVERIFY2(message.contains(error.replace("{D}", dir.path())), qPrintable(message));
    QVERIFY(calls(record(), "xdg-email").isEmpty() && calls(record(), "kdeconnect-cli").isEmpty());
}

QTEST_GUILESS_MAIN(ShareCliTest)
#include "tst_sharecli.moc"
