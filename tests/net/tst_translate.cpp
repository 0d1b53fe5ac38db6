// The translate action: through the product's service, through LibreTranslate, and with
// neither set up; in-process through the dispatcher and end to end through "korvane run".
#include "droplistentity.h"
#include "headlessclipboard.h"
#include "headlessnotifier.h"
#include "korvaneapiclient.h"
#include "korvanecoredatahelper.h"
#include "korvanehandledata.h"
#include "korvanehandlepbhelper.h"
#include "korvanehosts.h"
#include "korvanetextactions.h"
#include "korvanetranslations.h"
#include "nettestsupport.h"
#include "servers/libretranslatestandin.h"
#include "servers/servicestandin.h"
#include "texttranslate.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome
{
    int calls = 0;
    bool success = false;
    KorvaneError error;
};

struct CliResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

} // namespace

class TranslateTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        KorvaneTranslations::install({QStringLiteral("en-US")});
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
        m_store = std::make_unique<KorvaneCoreDataHelper>();
        QVERIFY(m_service.start());
        QVERIFY(m_libre.start());
        m_service.dictionary["en"]["你好，世界\n第二行"] = "Hello, world\nSecond line";
        m_libre.dictionary["ja"]["Good morning"] = "おはようございます";
    }

    void init()
    {
        auto clipboard = std::make_unique<HeadlessClipboard>();
        auto notifier = std::make_unique<HeadlessNotifier>();
        m_clipboard = clipboard.get();
        m_notifier = notifier.get();
        KorvanePlatform::setClipboard(std::move(clipboard));
        KorvanePlatform::setNotifier(std::move(notifier));
        setDefault(KorvaneHosts::key("service"), QVariant());
        setDefault(KorvaneApiClient::libreTranslateUrlKey(), QVariant());
        setDefault(KorvaneApiClient::libreTranslateApiKeyKey(), QVariant());
        m_service.clearRequests();
        m_libre.clearRequests();
        m_service.clearOverride();
    }

    void cleanup()
    {
        QVERIFY2(m_service.problems().isEmpty(), qPrintable(m_service.problems().join("; ")));
        QVERIFY2(m_libre.problems().isEmpty(), qPrintable(m_libre.problems().join("; ")));
    }

    void throughTheService()
    {
        setDefault(KorvaneHosts::key("service"), m_service.baseUrl());
        const Outcome outcome = run(translateDrop(1), "你好，世界\n第二行");
        QCOMPARE(outcome.calls, 1);
        QVERIFY(outcome.success);
        QCOMPARE(m_clipboard->text(), QString("Hello, world\nSecond line"));
        QCOMPARE(m_notifier->posted().last().body, QString("Hello, world Second line"));
        QCOMPARE(m_service.requests().last().formFields().value("targetLanguage"), QString("en"));
    }

    void theLanguageIndexPicksTheCode_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("code");
        QTest::newRow("zh") << 0 << "zh";
        QTest::newRow("jp") << 2 << "jp";
        QTest::newRow("kr") << 3 << "kr";
        QTest::newRow("fr") << 5 << "fr";
        QTest::newRow("out of range") << 9 << "zh";
    }
    void theLanguageIndexPicksTheCode()
    {
        QFETCH(int, index);
        QFETCH(QString, code);
        setDefault(KorvaneHosts::key("service"), m_service.baseUrl());
        const Outcome outcome = run(translateDrop(index), "text");
        QCOMPARE(outcome.calls, 1);
        QCOMPARE(m_service.requests().last().formFields().value("targetLanguage"), code);
    }

    void noTextIsTranslateFailed()
    {
        setDefault(KorvaneHosts::key("service"), m_service.baseUrl());
        m_service.setOverride(StandInResponse::json(R"({"code":200,"data":{}})"));
        const int postsBefore = int(m_notifier->posted().size());
        const Outcome outcome = run(translateDrop(1), "x");
        QCOMPARE(outcome.calls, 1);
        QVERIFY(!outcome.success);
        QCOMPARE(outcome.error.code(), 7001);
        QCOMPARE(m_notifier->posted().size(), postsBefore + 1);
        QCOMPARE(m_notifier->posted().last().body, qtTrId("TranslateFailed"));
        QVERIFY(m_clipboard->text().isEmpty());
    }

    void libreTranslateWinsWhenSet()
    {
        setDefault(KorvaneHosts::key("service"), m_service.baseUrl());
        setDefault(KorvaneApiClient::libreTranslateUrlKey(), m_libre.baseUrl() + "/");
        const Outcome outcome = run(translateDrop(2), "Good morning");
        QCOMPARE(outcome.calls, 1);
        QVERIFY(outcome.success);
        QCOMPARE(m_clipboard->text(), QString("おはようございます"));
        QCOMPARE(m_service.requestCount(), 0);
        QCOMPARE(m_libre.requests().last().path, QString("/translate"));
    }

    void neitherSetFailsAtOnceSayingWhatToSet()
    {
        const Outcome outcome = run(translateDrop(1), "x");
        QCOMPARE(outcome.calls, 1);
        QVERIFY(!outcome.success);
        QCOMPARE(outcome.error.code(), KorvaneTextActions::translateNotConfiguredErrorCode);
        QVERIFY(outcome.error.localizedDescription().contains("translate/libretranslateUrl"));
        QVERIFY(outcome.error.localizedDescription().contains("Preferences"));
        QCOMPARE(m_notifier->posted().last().body, outcome.error.localizedDescription());
        QCOMPARE(m_service.requestCount() + m_libre.requestCount(), 0);
    }

    void theChineseTextNamesTheSettingsToo()
    {
        KorvaneTranslations::install({QStringLiteral("zh-CN")});
        const QString text = qtTrId("translateNotConfigured");
        KorvaneTranslations::install({QStringLiteral("en-US")});
        QVERIFY(text.contains("translate/libretranslateUrl"));
        QVERIFY(text.contains(QString::fromUtf8("翻译")));
    }

    // End to end: the korvane executable, its own settings file, the stand-ins in this process.

    void cliThroughTheService()
    {
        writeSettings({{"hosts/service", m_service.baseUrl()}});
        QCOMPARE(korvane({"add", "0", "0", "--title", "To English", "--set", "type=1"}).exitCode, 0);
        const CliResult result = korvane({"run", "To English", "--text", "你好，世界\n第二行", "--json"});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject json = result.json();
        QCOMPARE(json.value("success").toBool(), true);
        QCOMPARE(json.value("pasteboard").toObject().value("text").toString(), QString("Hello, world\nSecond line"));
        QCOMPARE(json.value("notification").toObject().value("body").toString(), QString("Hello, world Second line"));
        QCOMPARE(m_service.requestCount(), 1);
    }

    void cliThroughLibreTranslateWithAKey()
    {
        m_libre.requiredApiKey = "lt-key";
        writeSettings({{"translate/libretranslateUrl", m_libre.baseUrl()}, {"translate/libretranslateKey", "lt-key"}});
        QCOMPARE(korvane({"add", "0", "0", "--title", "To Japanese", "--set", "type=2"}).exitCode, 0);
        const CliResult result = korvane({"run", "To Japanese", "--text", "Good morning"});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QString("おはようございます\n").toUtf8());
        QVERIFY(!result.err.contains("lt-key"));

        writeSettings({{"translate/libretranslateUrl", m_libre.baseUrl()}, {"translate/libretranslateKey", "wrong"}});
        const CliResult refused = korvane({"run", "To Japanese", "--text", "Good morning", "--json"});
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.json().value("error").toObject().value("code").toInt(), -1001);
        QVERIFY(refused.json().value("notification").toObject().value("body").toString().contains("Invalid API key"));
        QVERIFY(!refused.out.contains("wrong"));
        m_libre.requiredApiKey.clear();
    }

    void cliWithNothingSetUpFailsAtOnce()
    {
        writeSettings({});
        QCOMPARE(korvane({"add", "0", "0", "--title", "Translate Nowhere", "--set", "type=1"}).exitCode, 0);
        QElapsedTimer timer;
        timer.start();
        const CliResult result = korvane({"run", "Translate Nowhere", "--text", "hello", "--json"});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(timer.elapsed() < 10000);
        const QJsonObject error = result.json().value("error").toObject();
        QCOMPARE(error.value("code").toInt(), KorvaneTextActions::translateNotConfiguredErrorCode);
        QVERIFY(error.value("message").toString().contains("translate/libretranslateUrl"));
        QCOMPARE(m_service.requestCount() + m_libre.requestCount(), 0);
    }

    void cliWhenTheServiceIsDown()
    {
        writeSettings({{"hosts/service", m_service.baseUrl()}});
        StandInResponse html = StandInResponse::text("text/html", "<html>Service Unavailable</html>", 503);
        m_service.setOverride(html, false);
        if (korvane({"list"}).out.indexOf("To English") < 0)
            QCOMPARE(korvane({"add", "0", "0", "--title", "To English", "--set", "type=1"}).exitCode, 0);
        const CliResult result = korvane({"run", "To English", "--text", "x", "--json"});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.json().value("error").toObject().value("code").toInt(), -1001);
        m_service.clearOverride();
    }

private:
    DropListEntityPtr translateDrop(int languageIndex)
    {
        const auto drop = m_store->getNewDrop(0, 0, 0);
        drop->textTranslate()->setType(qint16(languageIndex));
        return drop;
    }

    Outcome run(const DropListEntityPtr &drop, const QString &text)
    {
        KorvaneHandleData::shareInstance()->resetHandleDataWith(text);
        Outcome outcome;
        KorvaneHandlePbHelper::handleDropEntity(drop, [&outcome](bool success, const KorvaneError &error) {
            ++outcome.calls;
            outcome.success = success;
            outcome.error = error;
        });
        if (outcome.calls != 0)
            return Outcome{-1, false, {}};
        if (!QTest::qWaitFor([&outcome] { return outcome.calls > 0; }, 10000))
            return outcome;
        QTest::qWait(50);
        return outcome;
    }

    void writeSettings(const QList<QPair<QString, QString>> &values)
    {
        QSettings settings(m_dir.filePath("config/korvane/korvane.conf"), QSettings::IniFormat);
        settings.clear();
        for (const auto &[key, value] : values)
            settings.setValue(key, value);
        settings.sync();
    }

    CliResult korvane(const QStringList &args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", m_dir.filePath("home"));
        env.insert("XDG_DATA_HOME", m_dir.filePath("cli-data"));
        env.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        env.insert("LANG", "en_US.UTF-8");
        env.remove("LANGUAGE");
        env.remove("LC_ALL");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        process.setProcessEnvironment(env);
        // The stand-ins answer from this process's event loop: wait without blocking it.
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(QString::fromLocal8Bit(qgetenv("KORVANE_BINARY")), args);
        process.closeWriteChannel();
        CliResult result;
        if (!finished.wait(60000))
            return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<KorvaneCoreDataHelper> m_store;
    ServiceStandIn m_service;
    LibreTranslateStandIn m_libre;
    HeadlessClipboard *m_clipboard = nullptr;
    HeadlessNotifier *m_notifier = nullptr;
};

QTEST_GUILESS_MAIN(TranslateTest)
#include "tst_translate.moc"
