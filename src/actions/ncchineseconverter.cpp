#include "actions/ncchineseconverter.h"

#include "actions/chineseconversiontable.h"
#include "common/korvanelogging.h"

#include <QDir>
#include <QResource>
#include <QIODevice>
#include <QLoggingCategory>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <mutex>

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
// goes through the other tables in turn. The first of those is of single characters, so it
// joins the first table as its fallback: one walk cuts the text and does that step.
struct NCChineseConverter::Table {
    QList<QByteArray> texts;
    std::once_flag built;
    ChineseConversionTable walk;
    std::vector<ChineseConversionTable> steps;
    std::vector<bool> inert;

    const Table &get()
    {
        std::call_once(built, [this] {
            ChineseConversionTable::Builder builder;
            for (qsizetype i = 0; i < qMin<qsizetype>(texts.size(), 2); ++i)
                builder.addText(texts.at(i), i == 1);
            walk = builder.build();
            for (qsizetype i = 2; i < texts.size(); ++i) {
                ChineseConversionTable::Builder stepBuilder;
                stepBuilder.addText(texts.at(i));
                ChineseConversionTable step = stepBuilder.build();
                if (!step.isEmpty())
                    steps.push_back(std::move(step));
            }
            // High surrogates are never a place to cut, so the encoder never sees half a pair.
            inert.assign(0x10000, false);
            for (char32_t unit = 0; unit < 0x10000; ++unit) {
                inert[unit] = !QChar::isHighSurrogate(unit) && walk.isInert(char16_t(unit))
                    && std::all_of(steps.cbegin(), steps.cend(), [unit](const auto &step) { return step.isInert(char16_t(unit)); });
            }
        });
        return *this;
    }

    // Runs text between segments, the first step done, through the other steps into out.
    void convertSteps(const QString &text, QString &out, QString (&scratch)[2]) const
    {
        const QString *input = &text;
        for (std::size_t i = 0; i + 1 < steps.size(); ++i) {
            QString &next = scratch[i % 2];
            next.resize(0);
            steps[i].convert(input->constData(), input->size(), next);
            input = &next;
        }
        steps.back().convert(input->constData(), input->size(), out);
    }

    // Converts text[0, size) and returns how much of it is done. With atEnd false the text goes
    // on: the rest is what the text after size could still change, cut after a segment or after
    // a unit no table knows, so converting from there once more text is at hand gives the same
    // result as one call on everything.
    qsizetype convert(const QChar *text, qsizetype size, bool atEnd, QString &out) const
    {
        const qsizetype longest = walk.maxSourceLength();
        // The text between segments as the first step makes it; without more steps that is
        // already the result.
        QString between;
        QString scratch[2];
        QString &run = steps.empty() ? out : between;
        const auto finishRun = [&](qsizetype length) {
            if (!steps.empty() && length > 0) {
                between.truncate(length);
                convertSteps(between, out, scratch);
            }
            between.resize(0);
        };
        qsizetype pos = 0;
        qsizetype copyFrom = 0;
        // Where the text may be cut when more of it is to come, and how long run was there.
        qsizetype cut = 0;
        qsizetype cutRun = run.size();
        while (pos < size) {
            if (!atEnd && size - pos < longest)
                break;
            ChineseConversionTable::Target target;
            bool fallback = false;
            const qsizetype length = walk.match(text + pos, size - pos, &target, &fallback);
            if (length == 0) {
                ++pos;
                if (inert[text[pos - 1].unicode()]) {
                    cut = pos;
                    cutRun = run.size() + pos - copyFrom;
                }
                continue;
            }
            run.append(text + copyFrom, pos - copyFrom);
            pos += length;
            copyFrom = pos;
            if (fallback) {
                walk.appendTarget(target, run);
                continue;
            }
            finishRun(between.size());
            walk.appendTarget(target, out);
            cut = pos;
            cutRun = run.size();
        }
        if (!atEnd) {
            run.append(text + copyFrom, pos - copyFrom);
            if (steps.empty())
                out.truncate(cutRun);
            else
                finishRun(cutRun);
            return cut;
        }
        run.append(text + copyFrom, pos - copyFrom);
        finishRun(between.size());
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
