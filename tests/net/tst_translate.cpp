// The translate action: through the product's service, through LibreTranslate, and with
// neither set up; in-process through the dispatcher and end to end through "korvane run".
#include "support/actionrun.h"
#include "support/korvanecli.h"
#include "actions/text/textactions.h"
#include "actions/text/translations.h"
#include "support/logcapture.h"
#include "servers/libretranslatestandin.h"
#include "servers/servicestandin.h"
#include "store/translatesettings.h"

#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace KorvaneTest;

class TranslateTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Translations::install({QStringLiteral("en-US")});
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
        m_store = std::make_unique<ActionStore>();
        QVERIFY(m_service.start());
        QVERIFY(m_libre.start());
        m_service.dictionary["en"]["你好，世界\n第二行"] = "Hello, world\nSecond line";
        m_libre.dictionary["ja"]["Good morning"] = "おはようございます";
    }

    void init()
    {
        m_clipboard = install<HeadlessClipboard>(&Platform::setClipboard);
        m_notifier = install<HeadlessNotifier>(&Platform::setNotifier);
        setDefault(Korvane::Settings::serviceHost, QVariant());
        setDefault(Korvane::Settings::libreTranslateUrl, QVariant());
        setDefault(Korvane::Settings::libreTranslateKey, QVariant());
        m_service.clearRequests();
        m_libre.clearRequests();
        m_service.clearOverride();
        m_libre.requiredApiKey.clear();
    }

    void cleanup()
    {
        QVERIFY2(m_service.problems().isEmpty(), qPrintable(m_service.problems().join("; ")));
        QVERIFY2(m_libre.problems().isEmpty(), qPrintable(m_libre.problems().join("; ")));
    }

    void theLanguageIndexPicksTheCode_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("code");
        QTest::newRow("zh") << 0 << "zh";
        QTest::newRow("fr") << 5 << "fr";
        QTest::newRow("out of range") << 9 << "zh";
    }
    void theLanguageIndexPicksTheCode()
    {
        QFETCH(int, index);
        setDefault(Korvane::Settings::serviceHost, m_service.baseUrl());
        const Outcome outcome = run(translateDrop(index), "text");
        QCOMPARE(outcome.calls, 1);
        QTEST(m_service.requests().last().formFields().value("targetLanguage"), "code");
    }

    void noTextIsTranslateFailed()
    {
        setDefault(Korvane::Settings::serviceHost, m_service.baseUrl());
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
        setDefault(Korvane::Settings::serviceHost, m_service.baseUrl());
        setDefault(Korvane::Settings::libreTranslateUrl, m_libre.baseUrl() + "/");
        const Outcome outcome = run(translateDrop(2), "Good morning");
        QCOMPARE(outcome.calls, 1);
        QVERIFY(outcome.success);
        QCOMPARE(m_clipboard->text(), QString("おはようございます"));
        QCOMPARE(m_service.requestCount(), 0);
        QCOMPARE(m_libre.requests().last().path, QString("/translate"));
    }

    // End to end: the korvane executable, its own settings file, the stand-ins in this process.
    void cli_data()
    {
        QTest::addColumn<QStringList>("settings"); // key, value, ...
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pasted"); // empty: the run fails
        QTest::addColumn<int>("errorCode");
        QTest::addColumn<QString>("message"); // what the notification names
        QTest::addColumn<bool>("down"); // the service answers with its maintenance page
        const QString libre = m_libre.baseUrl();
        const QString service = m_service.baseUrl();
        const QStringList libreKeyed{"translate/libretranslateUrl", libre, "translate/libretranslateKey"};
        const std::tuple<const char *, QStringList, int, QString, QString, int, QString, bool> rows[] = {
            {"service", {"hosts/service", service}, 1, "你好，世界\n第二行", "Hello, world\nSecond line", 0, "", false},
            {"LibreTranslate with its key", libreKeyed + QStringList{"lt-key"}, 2, "Good morning", "おはようございます", 0, "", false},
            {"LibreTranslate refuses the key", libreKeyed + QStringList{"wrong-lt-key"}, 2, "Good morning", "", -1001, "Invalid API key", false},
            {"service down", {"hosts/service", service}, 1, "x", "", -1001, "", true},
            {"nothing set up", {}, 1, "hello", "", TextActions::translateNotConfiguredErrorCode, "Preferences, or set translate/libretranslateUrl", false},
        };
        for (const auto &[tag, settings, type, text, pasted, errorCode, message, down] : rows)
            QTest::newRow(tag) << settings << type << text << pasted << errorCode << message << down;
    }
    void cli()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QString, pasted);
        QFETCH(QString, message);
        QFETCH(bool, down);
        m_libre.requiredApiKey = "lt-key";
        if (down)
            m_service.setOverride(StandInResponse::text("text/html", "<html>Service Unavailable</html>", 503), false);
        Sandbox korvane;
        QSettings file(korvane.path("config/korvane/korvane.conf"), QSettings::IniFormat);
        for (int i = 0; i + 1 < settings.size(); i += 2)
            file.setValue(settings[i], settings[i + 1]);
        file.sync();
        QCOMPARE(korvane.run({"add", "0", "0", "--title", "Translate", "--set", QStringLiteral("type=%1").arg(type)}).exitCode, 0);
        QElapsedTimer timer;
        timer.start();
        const Result result = korvane.run({"run", "Translate", "--text", text, "--json"});
        QVERIFY(timer.elapsed() < 10000);
        QCOMPARE(result.exitCode, pasted.isEmpty() ? 1 : 0);
        const QJsonObject json = result.json().object();
        QCOMPARE(json.value("pasteboard").toObject().value("text").toString(), pasted);
        if (!pasted.isEmpty())
            QCOMPARE(json.value("notification").toObject().value("body").toString(), pasted.replace('\n', ' '));
        QTEST(json.value("error").toObject().value("code").toInt(), "errorCode");
        QVERIFY(json.value("notification").toObject().value("body").toString().contains(message));
        QVERIFY(!result.out.contains("lt-key") && !result.err.contains("lt-key"));
        QCOMPARE(m_service.requestCount() + m_libre.requestCount(), settings.isEmpty() ? 0 : 1);
    }

private:
    DropListEntityPtr translateDrop(int languageIndex)
    {
        const auto drop = m_store->getNewDrop(0, 0, 0);
        drop->translateSettings()->setType(qint16(languageIndex));
        return drop;
    }

    static Outcome run(const DropListEntityPtr &drop, const QString &text)
    {
        *KorvaneTest::dropped() = DropPayload::fromText(text);
        return KorvaneTest::runAction(drop, 1, 10000);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ActionStore> m_store;
    ServiceStandIn m_service;
    LibreTranslateStandIn m_libre;
    HeadlessClipboard *m_clipboard = nullptr;
    HeadlessNotifier *m_notifier = nullptr;
};

QTEST_GUILESS_MAIN(TranslateTest)
#include "tst_translate.moc"
