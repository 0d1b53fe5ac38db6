#include "actions/outputnaming.h"
#include "support/actionrun.h"
#include "support/logcapture.h"

#include "store/customurl.h"
#include "store/actionstore.h"
#include "actions/text/textactions.h"
#include "actions/text/translations.h"
#include "support/sharestandins.h"
#include "actions/text/texttransforms.h"
#include "store/capitalamountsettings.h"
#include "store/charactercountsettings.h"
#include "store/customurlsettings.h"
#include "store/chinesescriptsettings.h"
#include "actions/text/customurllibrary.h"
#include "store/lettercasesettings.h"

#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using namespace KorvaneTest;

class TextActionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void statistics();
    void countResult_data();
    void countResult();
    void clearStyle();
    void letterCase_data();
    void letterCase();
    void customUrls();
    void synchronousActionsReportNothing();
    void capitalAmount_data();
    void capitalAmount();
    void chineseConversion_data();
    void chineseConversion();
    void urlLibrary();

private:
    static Outcome run(const DropListEntityPtr &drop, const QString &text)
    {
        *KorvaneTest::dropped() = DropPayload::fromText(text);
        return KorvaneTest::runAction(drop, 0);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<ActionStore> m_store;
    HeadlessClipboard *m_clipboard = nullptr;
    HeadlessNotifier *m_notifier = nullptr;
    RecordingUrlOpener *m_opener = nullptr;
};

void TextActionsTest::initTestCase()
{
    Translations::install({QStringLiteral("en-US")});
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path()));
    m_store = std::make_unique<ActionStore>();
}

void TextActionsTest::init()
{
    m_clipboard = install<HeadlessClipboard>(&Platform::setClipboard);
    m_notifier = install<HeadlessNotifier>(&Platform::setNotifier);
    m_opener = install<RecordingUrlOpener>(&Platform::setUrlOpener);
}

// Line breaks and tabs separate no words, double spaces do; A to Z in both cases are the
// letters, not accented ones; the Han block's edges are Chinese; a surrogate pair counts as
// two units.
void TextActionsTest::statistics()
{
    // text, Chinese characters, characters, letters, English words
    const std::tuple<QString, qint64, qint64, qint64, qint64> rows[] = {
        {"中文 ab cd1", 2, 11, 4, 1},
        {"a\nb", 0, 3, 2, 0},
        {"one\ttwo three", 0, 13, 11, 1},
        {"  hi  there ", 0, 12, 7, 2},
        {"A b z", 0, 5, 3, 3},
        {QString::fromUtf8("\u4e00\u9fff\u3400"), 2, 5, 0, 0},
        {"café über", 0, 9, 6, 0},
        {"@[`{", 0, 4, 0, 0},
        {QString::fromUtf8("😀 ok"), 0, 5, 2, 1},
    };
    for (const auto &[text, chinese, characters, letters, words] : rows) {
        const QHash<QString, qint64> counted = TextTransforms::characterStatistics(text);
        QCOMPARE(counted.value("chineseNum"), chinese);
        QCOMPARE(counted.value("characterNum"), characters);
        QCOMPARE(counted.value("englishNum"), letters);
        QCOMPARE(counted.value("englishWordNum"), words);
    }
}

void TextActionsTest::countResult_data()
{
    QTest::addColumn<bool>("total");
    QTest::addColumn<bool>("letters");
    QTest::addColumn<bool>("words");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all three in order") << true << true << true << "Characters: 11. Letters: 4. English words: 1. ";
    QTest::newRow("words only") << false << false << true << "English words: 1. ";
    QTest::newRow("none") << false << false << false << "";
}

void TextActionsTest::countResult()
{
    QFETCH(bool, total);
    QFETCH(bool, letters);
    QFETCH(bool, words);
    QFETCH(QString, expected);
    const auto drop = m_store->getNewDrop(0, 2, 0);
    drop->characterCountSettings()->setCountTotal(total);
    drop->characterCountSettings()->setCountLetter(letters);
    drop->characterCountSettings()->setCountEnWord(words);
    run(drop, QStringLiteral("中文 ab cd1"));
    QCOMPARE(m_notifier->posted().size(), 1);
    QCOMPARE(m_notifier->posted().first().body, expected);
    QCOMPARE(m_notifier->posted().first().title, QStringLiteral("Count Characters succeeded"));
    // An empty result leaves the clipboard alone.
    QCOMPARE(m_clipboard->writeCount(), expected.isEmpty() ? 0 : 1);
    QCOMPARE(m_clipboard->text(), expected);
}

void TextActionsTest::clearStyle()
{
    const auto drop = m_store->getNewDrop(0, 1, 0);
    run(drop, QStringLiteral("line one\nline two"));
    QCOMPARE(m_clipboard->content(), HeadlessClipboard::Content::Text);
    QCOMPARE(m_clipboard->text(), QStringLiteral("line one\nline two"));
    QCOMPARE(m_clipboard->pasteboard().items().size(), 1);
    QVERIFY(!m_clipboard->pasteboard().items().first().hasType(TransferType::RTF));
    QCOMPARE(m_notifier->posted().last().body, QStringLiteral("line one line two"));
}

void TextActionsTest::letterCase_data()
{
    QTest::addColumn<int>("handleType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const std::tuple<const char *, int, const char *, const char *> rows[] = {
        {"capitalised", 0, "hello wORLD", "Hello World"},
        {"capitalised across lines and tabs", 0, "one\ntWO\tthree", "One\nTwo\tThree"},
        {"title-case letter", 0, "ǆungla", "ǅungla"},
        {"upper, full mapping", 1, "straße élan", "STRASSE ÉLAN"},
        {"lower", 2, "ÉCOLE ΣΟΦΙΑ Ok", "école σοφια ok"},
        {"unknown type capitalises", 7, "a b", "A B"},
        // Fails without an error: the notice says why, the clipboard stays as it was.
        {"no letters", 0, "123 ! 中文 é", ""},
    };
    for (const auto &[tag, type, text, expected] : rows)
        QTest::newRow(tag) << type << text << expected;
}

void TextActionsTest::letterCase()
{
    QFETCH(int, handleType);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const auto drop = m_store->getNewDrop(0, 8, 0);
    drop->letterCaseSettings()->setHandleType(qint16(handleType));
    const Outcome outcome = run(drop, text);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(outcome.success, !expected.isEmpty());
    QVERIFY(outcome.error.isNull());
    QCOMPARE(m_clipboard->writeCount(), expected.isEmpty() ? 0 : 1);
    QCOMPARE(m_clipboard->text(), expected);
    QCOMPARE(m_notifier->posted().last().body, expected.isEmpty() ? qtTrId("noEnLetter") : expected);
}

void TextActionsTest::customUrls()
{
    const auto drop = m_store->getNewDrop(0, 5, 0);
    const auto later = m_store->addNewCustomUrl(drop, QStringLiteral("https://b.example/s?q={text}"));
    const auto earlier = m_store->addNewCustomUrl(drop, QStringLiteral("https://a.example/{text}/x?q={text}"));
    earlier->setCreateTime(later->createTime() - 10);
    m_store->addNewCustomUrl(drop, QStringLiteral("no scheme {text}"))->setCreateTime(later->createTime() + 5);
    m_store->saveDataChange();

    const Outcome outcome = run(drop, QStringLiteral("a b&c=d#书"));
    QCOMPARE(outcome.calls, 1);
    QVERIFY(outcome.success);
    QCOMPARE(m_opener->opened, (QList<QUrl>{QUrl(QStringLiteral("https://a.example/a%20b&c=d%23%E4%B9%A6/x?q=a%20b&c=d%23%E4%B9%A6")), QUrl(QStringLiteral("https://b.example/s?q=a%20b&c=d%23%E4%B9%A6"))}));
    QCOMPARE(m_notifier->posted().last().body,
             QStringLiteral("https://a.example/a b&c=d#书/x?q=a b&c=d#书 https://b.example/s?q=a b&c=d#书 no scheme a b&c=d#书 "));
    QCOMPARE(m_clipboard->writeCount(), 0);

    drop->customUrlSettings()->setNeedCopy(true);
    run(drop, QStringLiteral("x"));
    QCOMPARE(m_clipboard->text(), QStringLiteral("https://a.example/x/x?q=x\nhttps://b.example/s?q=x"));
}

void TextActionsTest::synchronousActionsReportNothing()
{
    for (int type : {1, 2, 6}) {
        const auto drop = m_store->getNewDrop(0, type, 0);
        bool reportsResult = true;
        QVERIFY(ActionRunner::canRun(*drop, &reportsResult) && !reportsResult);
        QList<Korvane::Outcome> reports;
        ActionRunner::run(drop, *KorvaneTest::dropped(), [&](Korvane::Outcome outcome, const Korvane::Error &) { reports.append(outcome); });
        QTRY_COMPARE(reports, QList<Korvane::Outcome>{Korvane::Outcome::NothingToReport});
    }
}

void TextActionsTest::capitalAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("autoBegin");
    QTest::addColumn<bool>("autoEnd");
    QTest::addColumn<QString>("expected");
    // For a failure: the key of the message, with the code 7002.
    QTest::addColumn<QString>("failureKey");

    const std::tuple<const char *, const char *, bool, bool, const char *, const char *> rows[] = {
        {"whole, both options", "12", true, true, "人民币壹拾貳圆整", ""},
        {"fraction gets no suffix", "1234.56", true, true, "人民币壹仟貳佰叁拾肆元伍角陆分", ""},
        {"no options", "12", false, false, "壹拾貳", ""},
        {"prefix only", "12", true, false, "人民币壹拾貳", ""},
        {"suffix only", "100000001", false, true, "壹亿零壹圆整", ""},
        {"grouping of the user's locale", "1,234.5", false, true, "壹仟貳佰叁拾肆元伍角", ""},
        {"zero fraction is whole", "12.0", false, true, "壹拾貳圆整", ""},
        {"surrounding white space", " 7\n", false, true, "柒圆整", ""},
        {"empty", "", true, true, "", "PleaseEnterNumbers"},
        {"number and words", "12 yuan", true, true, "", "PleaseEnterNumbers"},
        {"not a number", "nan", true, true, "", "PleaseEnterNumbers"},
        {"below one, prefix but no suffix", "0.05", true, true, "人民币伍分", ""},
        {"fourteen digits", "12345678901234", true, true, "", "CapitalAmountTooLarge"},
    };
    for (const auto &[tag, text, autoBegin, autoEnd, expected, failureKey] : rows)
        QTest::newRow(tag) << text << autoBegin << autoEnd << expected << failureKey;
}

void TextActionsTest::capitalAmount()
{
    QFETCH(QString, text);
    QFETCH(bool, autoBegin);
    QFETCH(bool, autoEnd);
    QFETCH(QString, expected);
    QFETCH(QString, failureKey);
    QCOMPARE(QLocale::system().name(), QStringLiteral("en_US"));
    const auto drop = m_store->getNewDrop(0, 7, 0);
    drop->capitalAmountSettings()->setAutoBegin(autoBegin);
    drop->capitalAmountSettings()->setAutoEnd(autoEnd);
    const Outcome outcome = run(drop, text);
    QCOMPARE(outcome.calls, 1);
    QCOMPARE(m_notifier->posted().size(), 1);
    if (failureKey.isEmpty()) {
        QVERIFY(outcome.success);
        QCOMPARE(m_clipboard->text(), expected);
        QCOMPARE(m_notifier->posted().first().body, expected);
        return;
    }
    const QString message = qtTrId(failureKey.toUtf8().constData());
    QVERIFY(message != failureKey);
    QVERIFY(!outcome.success);
    QCOMPARE(outcome.error.code(), 7002);
    QCOMPARE(outcome.error.localizedDescription(), message);
    QCOMPARE(m_notifier->posted().first().body, message);
    QCOMPARE(m_notifier->posted().first().title, QStringLiteral("Chinese Capital Amount failed"));
    QCOMPARE(m_clipboard->writeCount(), 0);
}

void TextActionsTest::chineseConversion_data()
{
    QTest::addColumn<int>("conversionType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const std::tuple<const char *, int, const char *, const char *> rows[] = {
        {"to mainland simplified", 0, "軟體與網路\n頭髮", "软体与网路\n头发"},
        {"to Hong Kong", 1, "头发和面条", "頭髮和麪條"},
        {"to Taiwan, with phrases", 2, "软件和网络", "軟體和網路"},
        {"unknown value leaves the text", 3, "软件 軟體", "软件 軟體"},
    };
    for (const auto &[tag, type, text, expected] : rows)
        QTest::newRow(tag) << type << QString(text) << QString(expected);
}

void TextActionsTest::chineseConversion()
{
    QFETCH(int, conversionType);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const auto drop = m_store->getNewDrop(0, 6, 0);
    drop->chineseScriptSettings()->setConversionType(qint16(conversionType));
    const Outcome outcome = run(drop, text);
    QCOMPARE(outcome.calls, 0);
    QCOMPARE(m_clipboard->text(), expected);
    QCOMPARE(m_notifier->posted().size(), 1);
    QCOMPARE(m_notifier->posted().first().body, QString(expected).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

// Every template of the library is a URL once a text with a space is in, and the names
// that are keys show their translations.
void TextActionsTest::urlLibrary()
{
    const QList<CustomUrlLibrary::Entry> &entries = CustomUrlLibrary::entries();
    for (const auto &entry : entries) {
        QVERIFY2(entry.url.contains(QLatin1String("{text}")), qPrintable(entry.url));
        const QUrl url(OutputNaming::urlEncoded(QString(entry.url).replace(QLatin1String("{text}"), QLatin1String("a b"))),
                       QUrl::StrictMode);
        QVERIFY2(url.isValid() && !url.scheme().isEmpty(), qPrintable(entry.url));
        if (!entry.nameIsKey)
            QCOMPARE(CustomUrlLibrary::displayName(entry), entry.name);
    }
}

QTEST_GUILESS_MAIN(TextActionsTest)
#include "tst_textactions.moc"
