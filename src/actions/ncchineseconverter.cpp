#include "ncchineseconverter.h"

#include "chineseconversiontable.h"

#include <QDir>
#include <QResource>
#include <QIODevice>
#include <QLoggingCategory>
#include <QStringDecoder>
#include <QStringEncoder>

#include <mutex>

Q_LOGGING_CATEGORY(lcChinese, "korvane.actions.chinese", QtWarningMsg)

namespace {

const QString &dictKey(qint32 dict)
{
    static const QString keys[] = {QStringLiteral("zh2TW"), QStringLiteral("zh2HK"), QStringLiteral("zh2SG"),
                                   QStringLiteral("zh2CN")};
    return keys[(dict >= 1 && dict <= 3) ? dict : 0];
}

} // namespace

NCChineseConverter::NCChineseConverter()
{
    initDicts();
}

NCChineseConverter::~NCChineseConverter() = default;

NCChineseConverter &NCChineseConverter::sharedInstance()
{
    static NCChineseConverter converter;
    return converter;
}

// A table is built when it is first used, once, so that a process converting one way does not
// pay the time and memory of the other tables.
struct NCChineseConverter::Table
{
    QList<QByteArray> texts;
    std::once_flag built;
    ChineseConversionTable trie;

    const ChineseConversionTable &get()
    {
        std::call_once(built, [this] {
            ChineseConversionTable::Builder builder;
            for (const QByteArray &text : std::as_const(texts))
                builder.addText(text);
            trie = builder.build();
        });
        return trie;
    }
};

void NCChineseConverter::initDicts()
{
    for (qint32 dict = TW; dict <= CN; ++dict)
        m_dictFiles.insert(dictKey(dict), {});

    const QStringList resources = QDir(QStringLiteral(":/")).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : resources) {
        const QString key = name.section(QLatin1Char('.'), 0, 0);
        if (m_dictFiles.contains(key))
            m_dictFiles[key] << QStringLiteral(":/") + name;
    }

    for (auto it = m_dictFiles.cbegin(); it != m_dictFiles.cend(); ++it) {
        auto table = std::make_shared<Table>();
        for (const QString &path : it.value()) {
            const QResource resource(path);
            if (!resource.isValid()) {
                qCWarning(lcChinese) << "cannot read conversion table" << path;
                continue;
            }
            // Uncompressed resources are used in place, without a copy.
            table->texts << resource.uncompressedData();
        }
        // The Singapore form is written like the mainland's, and its table is the same: one
        // trie serves both.
        for (const auto &built : std::as_const(m_dict)) {
            if (built->texts == table->texts) {
                table = built;
                break;
            }
        }
        m_dict.insert(it.key(), table);
    }
}

const ChineseConversionTable &NCChineseConverter::table(qint32 dict) const
{
    return m_dict.value(dictKey(dict))->get();
}

qsizetype NCChineseConverter::entryCount(qint32 dict) const
{
    return table(dict).entryCount();
}

QString NCChineseConverter::convert(const QString &text, qint32 dict) const
{
    QString result = QStringLiteral("");
    if (text.isEmpty())
        return result;
    result.reserve(text.size() + text.size() / 16);
    table(dict).convert(text.constData(), text.size(), true, result);
    return result;
}

bool NCChineseConverter::convert(QIODevice &input, QIODevice &output, qint32 dict, qsizetype pieceBytes) const
{
    const ChineseConversionTable &conversion = table(dict);
    QStringDecoder decoder(QStringDecoder::Utf8);
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray bytes(qMax<qsizetype>(pieceBytes, 16), Qt::Uninitialized);
    QString pending;
    QString converted;
    bool atEnd = false;
    while (!atEnd) {
        const qint64 read = input.read(bytes.data(), bytes.size());
        if (read < 0) {
            qCWarning(lcChinese) << "cannot read the text to convert:" << input.errorString();
            return false;
        }
        if (read == 0) {
            if (!input.atEnd() && input.waitForReadyRead(-1))
                continue;
            atEnd = true;
        }
        pending += decoder(QByteArrayView(bytes.constData(), read));

        converted.resize(0);
        const qsizetype done = conversion.convert(pending.constData(), pending.size(), atEnd, converted);
        pending.remove(0, done);
        const QByteArray encoded = encoder(converted);
        if (output.write(encoded) != encoded.size()) {
            qCWarning(lcChinese) << "cannot write the converted text:" << output.errorString();
            return false;
        }
    }
    return true;
}

QString NCChineseConverter::chineseStringTW(const QString &text)
{
    return sharedInstance().convert(text, TW);
}

QString NCChineseConverter::chineseStringHK(const QString &text)
{
    return sharedInstance().convert(text, HK);
}

QString NCChineseConverter::chineseStringSG(const QString &text)
{
    return sharedInstance().convert(text, SG);
}

QString NCChineseConverter::chineseStringCN(const QString &text)
{
    return sharedInstance().convert(text, CN);
}
