#include "actions/text/chineseconversion.h"

#include "actions/actionslogging.h"

#include <QIODevice>
#include <QLoggingCategory>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

ChineseConversion::ChineseConversion(const QByteArray &tables)
{
    ChineseConversionTable::Builder normalization;
    ChineseConversionTable::Builder walk;
    std::vector<ChineseConversionTable::Builder> steps;
    // The sections are handed on as views of the tables' own bytes, without a copy.
    const auto addSection = [&](QByteArrayView heading, qsizetype begin, qsizetype end) {
        const QByteArray section = QByteArray::fromRawData(tables.constData() + begin, end - begin);
        if (heading == "[normalization]") {
            normalization.addText(section);
        } else if (heading == "[segments]") {
            walk.addText(section);
        } else if (heading == "[characters]") {
            // A segment's source wins over a character at its place: only where no segment
            // starts is the character the first step's answer.
            walk.addText(section, true);
        } else if (heading == "[step]") {
            steps.emplace_back();
            steps.back().addText(section);
        } else if (!heading.isEmpty()) {
            qCWarning(lcChinese) << "unknown section in a conversion table:" << heading;
        }
    };
    QByteArrayView heading;
    qsizetype sectionStart = 0;
    for (qsizetype lineStart = 0; lineStart < tables.size();) {
        qsizetype lineEnd = tables.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = tables.size();
        // Entries always have a tab, so a source may start with "[" too.
        const QByteArrayView line(tables.constData() + lineStart, lineEnd - lineStart);
        if (line.startsWith('[') && !line.contains('\t')) {
            addSection(heading, sectionStart, lineStart);
            heading = line;
            sectionStart = std::min(lineEnd + 1, tables.size());
        }
        lineStart = lineEnd + 1;
    }
    addSection(heading, sectionStart, tables.size());

    m_normalization = normalization.build();
    m_walk = walk.build();
    for (const ChineseConversionTable::Builder &builder : steps) {
        ChineseConversionTable step = builder.build();
        if (!step.isEmpty())
            m_steps.push_back(std::move(step));
    }
    // High surrogates are never a place to cut, so the encoder never sees half a pair.
    m_inert.assign(0x10000, false);
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        m_inert[unit] = !QChar::isHighSurrogate(unit) && m_walk.isInert(char16_t(unit))
            && std::all_of(m_steps.cbegin(), m_steps.cend(), [unit](const auto &step) { return step.isInert(char16_t(unit)); });
    }
}

// Compatibility ideographs are rare: most texts are scanned once and shared unchanged.
QString ChineseConversion::normalized(const QString &text) const
{
    if (m_normalization.isEmpty())
        return text;
    const auto first = std::find_if(text.cbegin(), text.cend(), [this](QChar unit) { return m_normalization.startsSource(unit.unicode()); });
    if (first == text.cend())
        return text;
    const qsizetype start = first - text.cbegin();
    QString result = text.left(start);
    m_normalization.convert(text.constData() + start, text.size() - start, result);
    return result;
}

// Runs text between segments, the walk's characters done, through the steps into out.
void ChineseConversion::convertSteps(const QString &text, QString &out, QString (&scratch)[2]) const
{
    const QString *input = &text;
    for (std::size_t i = 0; i + 1 < m_steps.size(); ++i) {
        QString &next = scratch[i % 2];
        next.resize(0);
        m_steps[i].convert(input->constData(), input->size(), next);
        input = &next;
    }
    m_steps.back().convert(input->constData(), input->size(), out);
}

// Converts text[0, size) and returns how much of it is done. With atEnd false the text goes
// on: the rest is what the text after size could still change, cut after a segment or after a
// unit no table knows, so converting from there once more text is at hand gives the same
// result as one call on everything.
qsizetype ChineseConversion::convert(const QChar *text, qsizetype size, bool atEnd, QString &out) const
{
    const qsizetype longest = m_walk.maxSourceLength();
    // The text between segments as the walk's characters make it; without steps that is
    // already the result.
    QString between;
    QString scratch[2];
    QString &run = m_steps.empty() ? out : between;
    const auto finishRun = [&](qsizetype length) {
        if (!m_steps.empty() && length > 0) {
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
        bool character = false;
        const qsizetype length = m_walk.match(text + pos, size - pos, &target, &character);
        if (length == 0) {
            ++pos;
            if (m_inert[text[pos - 1].unicode()]) {
                cut = pos;
                cutRun = run.size() + pos - copyFrom;
            }
            continue;
        }
        run.append(text + copyFrom, pos - copyFrom);
        pos += length;
        copyFrom = pos;
        if (character) {
            m_walk.appendTarget(target, run);
            continue;
        }
        finishRun(between.size());
        m_walk.appendTarget(target, out);
        cut = pos;
        cutRun = run.size();
    }
    run.append(text + copyFrom, pos - copyFrom);
    if (!atEnd) {
        if (m_steps.empty())
            out.truncate(cutRun);
        else
            finishRun(cutRun);
        return cut;
    }
    finishRun(between.size());
    return pos;
}

QString ChineseConversion::convert(const QString &text) const
{
    QString result = QStringLiteral("");
    if (text.isEmpty())
        return result;
    const QString input = normalized(text);
    result.reserve(input.size() + input.size() / 16);
    convert(input.constData(), input.size(), true, result);
    return result;
}

bool ChineseConversion::convert(QIODevice &input, QIODevice &output, qsizetype pieceBytes, QString *beginning) const
{
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
        // The decoder keeps a character cut at the piece's end for the next one, so the
        // normalization sees whole characters.
        pending += normalized(decoder(QByteArrayView(bytes.constData(), read)));

        converted.resize(0);
        const qsizetype done = convert(pending.constData(), pending.size(), atEnd, converted);
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
