#include "support/logcapture.h"

#include <QLoggingCategory>

#include <algorithm>

namespace KorvaneTest {

static QStringList *s_lines = nullptr;
static QList<LogCapture::Entry> *s_entries = nullptr;

LogCapture::LogCapture(bool everyLevel)
    : m_everyLevel(everyLevel)
{
    s_lines = &m_lines;
    s_entries = &m_entries;
    m_previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (s_lines) {
            s_lines->append(message);
            s_entries->append({type, QByteArray(context.category)});
        }
    });
    if (everyLevel)
        QLoggingCategory::setFilterRules(QStringLiteral("korvane.*=true"));
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    if (m_everyLevel)
        QLoggingCategory::setFilterRules(QString());
    s_lines = nullptr;
    s_entries = nullptr;
}

QStringList LogCapture::complaints() const
{
    QStringList result;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).type == QtWarningMsg || m_entries.at(i).type == QtCriticalMsg || m_entries.at(i).type == QtFatalMsg)
            result.append(QString::fromLatin1(m_entries.at(i).category) + QLatin1String(": ") + m_lines.at(i));
    }
    return result;
}

qsizetype LogCapture::count(const QByteArray &category) const
{
    return std::count_if(m_entries.cbegin(), m_entries.cend(), [&category](const Entry &entry) { return entry.category == category; });
}

} // namespace KorvaneTest
