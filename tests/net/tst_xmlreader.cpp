// XML into maps and lists: single and repeated children, text, attributes, namespaces, and
// documents that must not be read.
#include "net/xmlreader.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTest>

#include <tuple>

class XMLReaderTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What a document reads as, written as compact JSON: one child is a map, many a list;
    // attributes are entries; namespaces processed or kept; entities and CDATA are text. The
    // text buffer runs across child elements: the white space before <b> goes with b's text,
    // the line after it with a's, trimmed to nothing.
    void documents()
    {
        const std::tuple<QByteArray, bool, QByteArray> rows[] = {
            {"<r><a><n>x</n></a><b><n>x</n></b><b><n>y</n></b><b/></r>", false, "{\"r\":{\"a\":{\"n\":{\"text\":\"x\"}},\"b\":[{\"n\":{\"text\":\"x\"}},{\"n\":{\"text\":\"y\"}},{}]}}"},
            {"<a>\n  <b>v</b>\n</a>", false, "{\"a\":{\"b\":{\"text\":\"v\"},\"text\":\"\"}}"},
            {"<a><b>v</b></a>", false, "{\"a\":{\"b\":{\"text\":\"v\"}}}"},
            {"<b id=\"7\" kind='x'>t</b>", false, "{\"b\":{\"id\":\"7\",\"kind\":\"x\",\"text\":\"t\"}}"},
            {"<s:r xmlns:s=\"http://s\"><s:b>1</s:b></s:r>", true, "{\"r\":{\"b\":{\"text\":\"1\"}}}"},
            {"<s:r xmlns:s=\"http://s\"><s:b>1</s:b></s:r>", false, "{\"s:r\":{\"s:b\":{\"text\":\"1\"},\"xmlns:s\":\"http://s\"}}"},
            {"<a>x &amp; y <![CDATA[<z>]]></a>", false, "{\"a\":{\"text\":\"x & y <z>\"}}"},
        };
        for (const auto &[xml, namespaces, json] : rows) {
            const QVariant read = XmlReader::dictionaryForXMLData(xml, namespaces ? XmlReader::ProcessNamespaces : 0);
            QCOMPARE(QJsonDocument::fromVariant(read).toJson(QJsonDocument::Compact), json);
        }
    }

    // Malformed and hostile documents read as null with an error, and soon.
    void refusedDocuments_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("unclosed") << QByteArray("<a><b></a>");
        QTest::newRow("html") << QByteArray("<html><body><p>Bad gateway<br></body></html>");
        QTest::newRow("json") << QByteArray("{\"code\":200}");
        QTest::newRow("two roots") << QByteArray("<a/><b/>");
        QTest::newRow("undeclared entity") << QByteArray("<a>&nope;</a>");
        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">";
        laughs += "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">";
        for (int i = 2; i <= 9; ++i)
            laughs += QByteArray("<!ENTITY lol") + QByteArray::number(i) + " \"" + QByteArray("&lol").append(QByteArray::number(i - 1)).append(";").repeated(10) + "\">";
        laughs += "]><lolz>&lol9;</lolz>";
        QTest::newRow("billion laughs") << laughs;
        QTest::newRow("external entity")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>");
        QTest::newRow("external DTD") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE r SYSTEM \"http://127.0.0.1:1/x.dtd\"><r/>");
        QTest::newRow("deep nesting") << (QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000));
        QTest::newRow("attributes past the limit") << "<a" + QByteArray(" b=''").repeated(XmlReader::maximumAttributes() + 1) + "/>";
        QTest::newRow("nodes past the limit") << "<r>" + QByteArray("<a/>").repeated(XmlReader::maximumNodes()) + "</r>";
        QTest::newRow("a text past the limit") << "<a>" + QByteArray(XmlReader::maximumText() + 1, 'x') + "</a>";
    }
    void refusedDocuments()
    {
        QFETCH(QByteArray, xml);
        QString error;
        QElapsedTimer timer;
        timer.start();
        const QVariant result = XmlReader::dictionaryForXMLData(xml, XmlReader::ProcessNamespaces | XmlReader::ResolveExternalEntities, &error);
        QVERIFY(result.isNull());
        QVERIFY(!error.isEmpty());
        QVERIFY(timer.elapsed() < 2000);
    }

    void nestingUpToTheLimitIsRead()
    {
        const int depth = XmlReader::maximumDepth();
        const QByteArray xml = QByteArray("<a>").repeated(depth) + "x" + QByteArray("</a>").repeated(depth);
        QVariant node = XmlReader::dictionaryForXMLData(xml);
        for (int i = 0; i < depth; ++i)
            node = node.toMap().value("a");
        QCOMPARE(node.toMap().value("text").toString(), QString("x"));
        // "=" counts as an attribute only between a name and its value.
        QByteArray attributes;
        for (int i = 0; i < XmlReader::maximumAttributes(); ++i)
            attributes += " b" + QByteArray::number(i) + "='=>'";
        const QByteArray wide = "<a" + attributes + "><!-- = = --><![CDATA[= =]]><?p = = ?>" + QByteArray(XmlReader::maximumText() - 3, '=') + "</a>";
        QCOMPARE(XmlReader::dictionaryForXMLData(wide).toMap().value("a").toMap().size(), XmlReader::maximumAttributes() + 1);
    }
};

QTEST_GUILESS_MAIN(XMLReaderTest)
#include "tst_xmlreader.moc"
