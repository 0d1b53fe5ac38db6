#include "ncchineseconverter.h"

#include "chineseconversiontable.h"

#include <QDir>
#include <QResource>
#include <QIODevice>
#include <QLoggingCategory>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
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

// A conversion is built when it is first used, once, so that a process converting one way does
// not pay the time and memory of the others. Its first table cuts the text into segments, as
// OpenCC's segmentation does, and gives each its whole conversion; the text between segments
// goes through the other tables in turn.
struct NCChineseConverter::Table
{
    QList<QByteArray> texts;
    std::once_flag built;
    ChineseConversionTable segments;
    std::vector<ChineseConversionTable> steps;
    std::vector<bool> inert;

    const Table &get()
    {
        std::call_once(built, [this] {
            for (qsizetype i = 0; i < texts.size(); ++i) {
                ChineseConversionTable::Builder builder;
                builder.addText(texts.at(i));
                ChineseConversionTable table = builder.build();
                if (i == 0)
                    segments = std::move(table);
                else if (!table.isEmpty())
                    steps.push_back(std::move(table));
            }
            // High surrogates are never a place to cut, so the encoder never sees half a pair.
            inert.assign(0x10000, false);
            for (char32_t unit = 0; unit < 0x10000; ++unit) {
                inert[unit] = !QChar::isHighSurrogate(unit) && segments.isInert(char16_t(unit))
                    && std::all_of(steps.cbegin(), steps.cend(), [unit](const auto &step) { return step.isInert(char16_t(unit)); });
            }
        });
        return *this;
    }

    void convertBetweenSegments(const QChar *text, qsizetype size, QString &out) const
    {
        if (size == 0)
            return;
        if (steps.empty()) {
            out.append(text, size);
            return;
        }
        QString current;
        QString next;
        for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
            next.resize(0);
            steps[i].convert(text, size, true, next);
            std::swap(current, next);
            text = current.constData();
            size = current.size();
        }
        steps.back().convert(text, size, true, out);
    }

    // Converts text[0, size) and returns how much of it is done. With atEnd false the text goes
    // on: the rest is what the text after size could still change, cut after the last unit no
    // table knows, so converting from there once more text is at hand gives the same result as
    // one call on everything.
    qsizetype convert(const QChar *text, qsizetype size, bool atEnd, QString &out) const
    {
        const qsizetype longest = segments.maxSourceLength();
        qsizetype pos = 0;
        qsizetype runStart = 0;
        while (pos < size) {
            if (!atEnd && size - pos < longest)
                break;
            quint32 target = 0;
            const qsizetype length = segments.match(text + pos, size - pos, &target);
            if (length == 0) {
                ++pos;
                continue;
            }
            convertBetweenSegments(text + runStart, pos - runStart, out);
            segments.appendTarget(target, out);
            pos += length;
            runStart = pos;
        }
        if (!atEnd) {
            qsizetype cut = pos;
            while (cut > runStart && !inert[text[cut - 1].unicode()])
                --cut;
            pos = cut;
        }
        convertBetweenSegments(text + runStart, pos - runStart, out);
        return pos;
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

const NCChineseConverter::Table &NCChineseConverter::table(qint32 dict) const
{
    return m_dict.value(dictKey(dict))->get();
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

bool NCChineseConverter::convert(QIODevice &input, QIODevice &output, qint32 dict, qsizetype pieceBytes,
                                  QString *beginning) const
{
    const Table &conversion = table(dict);
    QStringDecoder decoder(QStringDecoder::Utf8);
    QStringEncoder encoder(QStringEncoder::Utf8);
    QByteArray bytes(qMax<qsizetype>(pieceBytes, 16), Qt::Uninitialized);
    QString pending;
    QString converted;
    bool atEnd = false;
    while (!atEnd) {
        // Text that no unit of lets the conversion cut stays pending; reading more each time
        // keeps the work linear.
        if (pending.size() > bytes.size())
            bytes.resize(pending.size() * 2);
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
        if (beginning && beginning->isEmpty())
            *beginning = converted;
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
