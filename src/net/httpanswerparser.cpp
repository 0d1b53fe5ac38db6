#include "net/httpanswerparser.h"

#include "net/answerlimits.h"

#include <algorithm>

namespace {

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isDecimal(const QByteArray &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

HttpAnswerParser::HttpAnswerParser(qint64 maximumBody)
    : m_maximumBody(maximumBody)
{
}

QByteArray HttpAnswerParser::takeBody()
{
    return std::exchange(m_body, QByteArray());
}

void HttpAnswerParser::fail(Failure failure, const QString &text)
{
    m_state = State::Failed;
    m_failure = failure;
    m_error = text;
    m_body.clear();
}

HttpAnswerParser::State HttpAnswerParser::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && (m_state == State::Head || m_state == State::Body)) {
        if (m_state == State::Head) {
            readHead(bytes);
        } else if (m_framing == Framing::Chunked) {
            readChunked(bytes);
        } else if (m_framing == Framing::Length) {
            const qsizetype take = qsizetype(std::min<qint64>(bytes.size(), m_contentLength - m_body.size()));
            if (appendBody(bytes.first(take)) && m_body.size() == m_contentLength)
                m_state = State::Complete;
            bytes = bytes.sliced(take);
        } else {
            appendBody(bytes);
            bytes = {};
        }
    }
    return m_state;
}

HttpAnswerParser::State HttpAnswerParser::closed()
{
    if (m_state == State::Body && m_framing == Framing::UntilClose)
        m_state = State::Complete;
    else if (m_state == State::Head || m_state == State::Body)
        fail(Failure::Protocol, QStringLiteral("the connection closed before the answer ended"));
    return m_state;
}

void HttpAnswerParser::readHead(QByteArrayView &bytes)
{
    const qsizetype old = m_head.size();
    // Room for the longest head and its blank line; what lies beyond is left in bytes.
    const qsizetype take = std::min<qsizetype>(bytes.size(), AnswerLimits::headBytes + 4 - old);
    m_head.append(bytes.first(take));
    const qsizetype end = m_head.indexOf("\r\n\r\n", std::max<qsizetype>(0, old - 3));
    if (end < 0) {
        bytes = bytes.sliced(take);
        if (m_head.size() > AnswerLimits::headBytes)
            fail(Failure::TooLarge,
                 QStringLiteral("the answer's head is longer than %1 bytes").arg(AnswerLimits::headBytes));
        return;
    }
    bytes = bytes.sliced(end + 4 - old);
    const QByteArray head = m_head.left(end);
    m_head.clear();
    takeHead(head);
}

bool HttpAnswerParser::takeHead(const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QByteArray statusLine = lines.first().trimmed();
    const qsizetype firstSpace = statusLine.indexOf(' ');
    const QByteArray code = statusLine.mid(firstSpace + 1, 3);
    const QByteArray afterCode = statusLine.mid(firstSpace + 4);
    if (!statusLine.startsWith("HTTP/1.") || firstSpace < 0 || !isDecimal(code) || code.size() != 3
        || code.at(0) == '0' || !(afterCode.isEmpty() || afterCode.startsWith(' '))) {
        fail(Failure::Protocol, QStringLiteral("not an HTTP/1 answer"));
        return false;
    }
    const int status = code.toInt();
    if (lines.size() - 1 > AnswerLimits::headFields) {
        fail(Failure::TooLarge,
             QStringLiteral("the answer has more than %1 header fields").arg(AnswerLimits::headFields));
        return false;
    }
    if (status < 200) {
        if (++m_interim > AnswerLimits::interimAnswers)
            fail(Failure::Protocol,
                 QStringLiteral("more than %1 interim answers came before the answer").arg(AnswerLimits::interimAnswers));
        return false;
    }
    m_status = status;
    m_reason = afterCode.trimmed();
    bool chunked = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = lines[i].left(colon).trimmed();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        const QByteArray lower = name.toLower();
        if (lower == "content-length") {
            if (!isDecimal(value) || value.size() > 18 || (m_contentLength >= 0 && m_contentLength != value.toLongLong())) {
                fail(Failure::Protocol, QStringLiteral("the answer's Content-Length is not one number"));
                return false;
            }
            m_contentLength = value.toLongLong();
        } else if (lower == "transfer-encoding") {
            chunked = chunked || value.toLower().contains("chunked");
        }
        m_fields.append({name, value});
    }
    m_state = State::Body;
    if (chunked) {
        m_framing = Framing::Chunked;
        m_contentLength = -1;
    } else if (status == 204 || status == 304) {
        m_framing = Framing::Length;
        m_contentLength = 0;
    } else if (m_contentLength >= 0) {
        m_framing = Framing::Length;
    }
    if (m_framing == Framing::Length && m_contentLength > m_maximumBody) {
        fail(Failure::TooLarge, QStringLiteral("the answer announces %1 bytes, over the limit of %2 bytes").arg(m_contentLength).arg(m_maximumBody));
        return false;
    }
    if (m_framing == Framing::Length && m_contentLength == 0)
        m_state = State::Complete;
    return true;
}

bool HttpAnswerParser::takeLine(QByteArrayView &bytes, QByteArray *line)
{
    const qsizetype end = bytes.indexOf('\n');
    const qsizetype take = end < 0 ? bytes.size() : end + 1;
    if (m_line.size() + take > AnswerLimits::headBytes) {
        fail(Failure::Protocol, QStringLiteral("a line of the answer is longer than %1 bytes").arg(AnswerLimits::headBytes));
        return false;
    }
    m_line.append(bytes.first(take));
    bytes = bytes.sliced(take);
    if (end < 0)
        return false;
    m_line.chop(m_line.endsWith("\r\n") ? 2 : 1);
    *line = std::exchange(m_line, QByteArray());
    return true;
}

bool HttpAnswerParser::takeChunkSize(const QByteArray &line)
{
    const qsizetype extension = line.indexOf(';');
    const QByteArray digits = (extension < 0 ? line : line.left(extension)).trimmed();
    if (digits.isEmpty() || !std::all_of(digits.cbegin(), digits.cend(), isHexDigit)) {
        fail(Failure::Protocol, QStringLiteral("a chunk size is not a hexadecimal number"));
        return false;
    }
    if (digits.size() > AnswerLimits::chunkSizeDigits) {
        fail(Failure::Protocol,
             QStringLiteral("a chunk size has more than %1 digits").arg(AnswerLimits::chunkSizeDigits));
        return false;
    }
    const quint64 size = digits.toULongLong(nullptr, 16);
    if (size > quint64(m_maximumBody - m_body.size())) {
        fail(Failure::TooLarge,
             QStringLiteral("a chunk of %1 bytes goes over the limit of %2 bytes").arg(size).arg(m_maximumBody));
        return false;
    }
    m_chunkLeft = qint64(size);
    m_chunkStep = size == 0 ? ChunkStep::Trailer : ChunkStep::Data;
    return true;
}

void HttpAnswerParser::readChunked(QByteArrayView &bytes)
{
    QByteArray line;
    while (!bytes.isEmpty() && m_state == State::Body) {
        switch (m_chunkStep) {
        case ChunkStep::Size:
            if (takeLine(bytes, &line))
                takeChunkSize(line);
            break;
        case ChunkStep::Data: {
            const qsizetype take = qsizetype(std::min<qint64>(bytes.size(), m_chunkLeft));
            if (!appendBody(bytes.first(take)))
                return;
            bytes = bytes.sliced(take);
            m_chunkLeft -= take;
            if (m_chunkLeft == 0)
                m_chunkStep = ChunkStep::DataEnd;
            break;
        }
        case ChunkStep::DataEnd:
            if (!takeLine(bytes, &line))
                break;
            if (line.isEmpty())
                m_chunkStep = ChunkStep::Size;
            else
                fail(Failure::Protocol, QStringLiteral("a chunk is longer than its size"));
            break;
        case ChunkStep::Trailer:
            if (!takeLine(bytes, &line))
                break;
            if (line.isEmpty()) {
                m_state = State::Complete;
                break;
            }
            m_trailerBytes += line.size() + 2;
            if (++m_trailerFields + m_fields.size() > AnswerLimits::headFields
                || m_trailerBytes > AnswerLimits::headBytes)
                fail(Failure::TooLarge, QStringLiteral("the answer's trailer fields go over %1 fields or %2 bytes").arg(AnswerLimits::headFields).arg(AnswerLimits::headBytes));
            break;
        }
    }
}

bool HttpAnswerParser::appendBody(QByteArrayView bytes)
{
    if (m_body.size() + bytes.size() > m_maximumBody) {
        fail(Failure::TooLarge, QStringLiteral("the answer is larger than %1 bytes").arg(m_maximumBody));
        return false;
    }
    m_body.append(bytes);
    return true;
}
