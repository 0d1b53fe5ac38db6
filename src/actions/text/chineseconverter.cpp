#include "actions/text/chineseconverter.h"

#include "actions/text/chineseconversion.h"
#include "actions/actionslogging.h"

#include <QDir>
#include <QResource>
#include <QLoggingCategory>

#include <mutex>

namespace {

const QString &dictKey(qint32 dict)
{
    static const QString keys[] = {QStringLiteral("zh2TW"), QStringLiteral("zh2HK"), QStringLiteral("zh2SG"),
                                   QStringLiteral("zh2CN")};
    return keys[(dict >= 1 && dict <= 3) ? dict : 0];
}

} // namespace

ChineseConverter::ChineseConverter()
{
    initDicts();
}

ChineseConverter::~ChineseConverter() = default;

ChineseConverter &ChineseConverter::sharedInstance()
{
    static ChineseConverter converter;
    return converter;
}

// A conversion is built when it is first used, once, so that a process converting one way does
// not pay the time and memory of the others.
struct ChineseConverter::Table {
    QByteArray tables;
    std::once_flag built;
    std::unique_ptr<ChineseConversion> conversion;

    const ChineseConversion &get()
    {
        std::call_once(built, [this] { conversion = std::make_unique<ChineseConversion>(tables); });
        return *conversion;
    }
};

void ChineseConverter::initDicts()
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
            const QByteArray data = resource.uncompressedData();
            table->tables = table->tables.isEmpty() ? data : table->tables + data;
        }
        // The Singapore form is written like the mainland's, and its table is the same: one
        // conversion serves both.
        for (const auto &built : std::as_const(m_dict)) {
            if (built->tables == table->tables) {
                table = built;
                break;
            }
        }
        m_dict.insert(it.key(), table);
    }
}

const ChineseConversion &ChineseConverter::conversion(qint32 dict) const
{
    return m_dict.value(dictKey(dict))->get();
}

QString ChineseConverter::convert(const QString &text, qint32 dict) const
{
    if (text.isEmpty())
        return QStringLiteral("");
    return conversion(dict).convert(text);
}

bool ChineseConverter::convert(QIODevice &input, QIODevice &output, qint32 dict, qsizetype pieceBytes,
                               QString *beginning) const
{
    return conversion(dict).convert(input, output, pieceBytes, beginning);
}
QString ChineseConverter::chineseStringTW(const QString &text)
{
    return sharedInstance().convert(text, TW);
}

QString ChineseConverter::chineseStringHK(const QString &text)
{
    return sharedInstance().convert(text, HK);
}

QString ChineseConverter::chineseStringSG(const QString &text)
{
    return sharedInstance().convert(text, SG);
}

QString ChineseConverter::chineseStringCN(const QString &text)
{
    return sharedInstance().convert(text, CN);
}
