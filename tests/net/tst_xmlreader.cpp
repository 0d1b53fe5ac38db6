// XML into maps and lists: single and repeated children, text, attributes, namespaces, and
// documents that must not be read.
#include "xmlreader.h"

#include <QElapsedTimer>
#include <QTest>

class XMLReaderTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneChildIsAMapAndManyAreAList()
    {
        const QVariantMap one = XMLReader::dictionaryForXMLString("<r><b><n>x</n></b></r>").toMap();
        QCOMPARE(one.value("r").toMap().value("b").typeId(), QMetaType::QVariantMap);
        const QVariantMap many = XMLReader::dictionaryForXMLString("<r><b><n>x</n></b><b><n>y</n></b><b/></r>").toMap();
        const QVariantList list = many.value("r").toMap().value("b").toList();
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[1].toMap().value("n").toMap().value("text").toString(), QString("y"));
        QVERIFY(list[2].toMap().isEmpty());
    }

    void whiteSpaceBetweenChildrenLeavesAnEmptyText()
    {
        // The text buffer runs across child elements: the white space before <b> goes with
        // b's text, the line after it with a's, trimmed to nothing.
        const QVariantMap a = XMLReader::dictionaryForXMLString("<a>\n  <b>v</b>\n</a>").toMap().value("a").toMap();
        QCOMPARE(a.value("b").toMap().value("text").toString(), QString("v"));
        QVERIFY(a.contains("text"));
        QCOMPARE(a.value("text").toString(), QString());
        const QVariantMap tight = XMLReader::dictionaryForXMLString("<a><b>v</b></a>").toMap().value("a").toMap();
        QVERIFY(!tight.contains("text"));
    }

    void attributesAreEntries()
    {
        const QVariantMap b = XMLReader::dictionaryForXMLString("<b id=\"7\" kind='x'>t</b>").toMap().value("b").toMap();
        QCOMPARE(b.value("id").toString(), QString("7"));
        QCOMPARE(b.value("kind").toString(), QString("x"));
        QCOMPARE(b.value("text").toString(), QString("t"));
    }

    void namespacesArePrefixFreeWhenProcessed()
    {
        const QByteArray xml = "<s:r xmlns:s=\"http://s\"><s:b>1</s:b></s:r>";
        const QVariantMap processed = XMLReader::dictionaryForXMLData(xml, XMLReader::ProcessNamespaces).toMap();
        QCOMPARE(processed.value("r").toMap().value("b").toMap().value("text").toString(), QString("1"));
        const QVariantMap raw = XMLReader::dictionaryForXMLData(xml).toMap();
        QCOMPARE(raw.value("s:r").toMap().value("s:b").toMap().value("text").toString(), QString("1"));
    }

    void entitiesAndCdataAreText()
    {
        const QVariantMap a = XMLReader::dictionaryForXMLString("<a>x &amp; y <![CDATA[<z>]]></a>").toMap();
        QCOMPARE(a.value("a").toMap().value("text").toString(), QString("x & y <z>"));
    }

    void malformedDocumentsGiveNullAndAnError_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("unclosed") << QByteArray("<a><b></a>");
        QTest::newRow("html") << QByteArray("<html><body><p>Bad gateway<br></body></html>");
        QTest::newRow("json") << QByteArray("{\"code\":200}");
        QTest::newRow("two roots") << QByteArray("<a/><b/>");
        QTest::newRow("undeclared entity") << QByteArray("<a>&nope;</a>");
    }
    void malformedDocumentsGiveNullAndAnError()
    {
        QFETCH(QByteArray, xml);
        QString error;
        QVERIFY(XMLReader::dictionaryForXMLData(xml, 1, &error).isNull());
        QVERIFY(!error.isEmpty());
    }

    void hostileDocumentsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("xml");
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
        QTest::newRow("attributes past the limit") << "<a" + QByteArray(" b=''").repeated(XMLReader::maximumAttributes() + 1) + "/>";
        QTest::newRow("nodes past the limit") << "<r>" + QByteArray("<a/>").repeated(XMLReader::maximumNodes()) + "</r>";
        QTest::newRow("a text past the limit") << "<a>" + QByteArray(XMLReader::maximumText() + 1, 'x') + "</a>";
    }
    void hostileDocumentsAreRefused()
    {
        QFETCH(QByteArray, xml);
        QString error;
        QElapsedTimer timer;
        timer.start();
        const QVariant result = XMLReader::dictionaryForXMLData(xml, XMLReader::ProcessNamespaces | XMLReader::ResolveExternalEntities, &error);
        QVERIFY(result.isNull());
        QVERIFY(!error.isEmpty());
        QVERIFY(timer.elapsed() < 2000);
    }

    void nestingUpToTheLimitIsRead()
    {
        const int depth = XMLReader::maximumDepth();
        const QByteArray xml = QByteArray("<a>").repeated(depth) + "x" + QByteArray("</a>").repeated(depth);
        QVariant node = XMLReader::dictionaryForXMLData(xml);
        for (int i = 0; i < depth; ++i)
            node = node.toMap().value("a");
        QCOMPARE(node.toMap().value("text").toString(), QString("x"));
        // "=" counts as an attribute only between a name and its value.
        QByteArray attributes;
        for (int i = 0; i < XMLReader::maximumAttributes(); ++i)
            attributes += " b" + QByteArray::number(i) + "='=>'";
        const QByteArray wide = "<a" + attributes + "><!-- = = --><![CDATA[= =]]><?p = = ?>" + QByteArray(XMLReader::maximumText() - 3, '=') + "</a>";
        QCOMPARE(XMLReader::dictionaryForXMLData(wide).toMap().value("a").toMap().size(), XMLReader::maximumAttributes() + 1);
    }

    void theBucketListOfAnAccount()
    {
        const QByteArray xml = "<?xml version='1.0' encoding='utf-8' ?>\n<ListAllMyBucketsResult xmlns=\"http://x\">\n"
                               "\t<Owner><ID>qcs::cam::uin/1:uin/1</ID></Owner>\n\t<Buckets>\n"
                               "\t\t<Bucket>\n\t\t\t<Name>photos-1250000000</Name>\n\t\t\t<Location>ap-shanghai</Location>\n\t\t</Bucket>\n"
                               "\t</Buckets>\n</ListAllMyBucketsResult>";
        const QVariantMap bucket = XMLReader::dictionaryForXMLData(xml, 1).toMap().value("ListAllMyBucketsResult").toMap()
                                       .value("Buckets").toMap().value("Bucket").toMap();
        QCOMPARE(bucket.value("Name").toMap().value("text").toString(), QString("photos-1250000000"));
        QCOMPARE(bucket.value("Location").toMap().value("text").toString(), QString("ap-shanghai"));
    }
};

QTEST_GUILESS_MAIN(XMLReaderTest)
#include "tst_xmlreader.moc"
