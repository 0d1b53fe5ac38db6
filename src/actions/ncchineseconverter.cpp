#include "ncchineseconverter.h"

#include "chineseconversiontable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QLoggingCategory>
#include <QStringDecoder>
#include <QStringEncoder>

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

void NCChineseConverter::initDicts()
{
    for (qint32 dict = TW; dict <= CN; ++dict) {
        m_dictFiles.insert(dictKey(dict), {});
        m_dict.insert(dictKey(dict), std::make_shared<ChineseConversionTable>());
    }

    const QStringList resources = QDir(QStringLiteral(":/")).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : resources) {
        const QString key = name.section(QLatin1Char('.'), 0, 0);
        if (m_dictFiles.contains(key))
            m_dictFiles[key] << QStringLiteral(":/") + name;
    }

    // Tables made of the same bytes share one trie: the Singapore form and the mainland form
    // are written alike, and their tables are the same.
    QMap<QByteArray, std::shared_ptr<const ChineseConversionTable>> byDigest;
    for (auto it = m_dictFiles.cbegin(); it != m_dictFiles.cend(); ++it) {
        ChineseConversionTable::Builder builder;
        QCryptographicHash digest(QCryptographicHash::Sha256);
        for (const QString &path : it.value()) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                qCWarning(lcChinese) << "cannot read conversion table" << path << file.errorString();
                continue;
            }
            const QByteArray data = file.readAll();
            digest.addData(data);
            digest.addData(QByteArrayView("\0", 1));
            builder.addText(data);
        }
        const QByteArray sum = digest.result();
        auto shared = byDigest.value(sum);
        if (!shared) {
            shared = std::make_shared<const ChineseConversionTable>(builder.build());
            byDigest.insert(sum, shared);
        }
        m_dict[it.key()] = shared;
    }
}

const ChineseConversionTable &NCChineseConverter::table(qint32 dict) const
{
    return *m_dict.value(dictKey(dict));
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
