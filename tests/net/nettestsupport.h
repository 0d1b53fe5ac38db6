#pragma once

#include "platform/korvanesettings.h"

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <QtMessageHandler>

#include <functional>

// Points a setting at a value, or with a null value removes it, for the length of a test.
template<typename T>
void setDefault(const KorvaneSetting<T> &setting, const QVariant &value)
{
    if (value.isNull())
        Platform::settingsBackend()->remove(setting.key());
    else
        Platform::settingsBackend()->setValue(setting.key(), value);
}

// Every log line written while it lives, whatever its category's level.
class LogCapture final
{
public:
    LogCapture()
    {
        s_lines = &m_lines;
        m_previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
            if (s_lines)
                s_lines->append(message);
        });
        QLoggingCategory::setFilterRules(QStringLiteral("korvane.*=true"));
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
        s_lines = nullptr;
    }
    const QStringList &lines() const { return m_lines; }
    QString text() const { return m_lines.join(QLatin1Char('\n')); }

private:
    static inline QStringList *s_lines = nullptr;
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};
