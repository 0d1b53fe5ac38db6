#pragma once

#include "platform/settings.h"
#include "platform/platform.h"
#include "platform/settingsbackend.h"

#include <QString>
#include <QStringList>
#include <QtMessageHandler>

namespace KorvaneTest {

// Points a setting at a value, or with a null value removes it, for the length of a test.
template<typename T>
void setDefault(const Korvane::Setting<T> &setting, const QVariant &value)
{
    if (value.isNull())
        Platform::settingsBackend()->remove(setting.key());
    else
        Platform::settingsBackend()->setValue(setting.key(), value);
}

// Every log line written while it lives: of our own categories at every level, or only at the
// levels they are shown at.
class LogCapture final
{
public:
    explicit LogCapture(bool everyLevel = true);
    ~LogCapture();
    const QStringList &lines() const { return m_lines; }
    QString text() const { return m_lines.join(QLatin1Char('\n')); }
    // The warnings and worse, each after its category.
    QStringList complaints() const;
    qsizetype count(const QByteArray &category) const;

    struct Entry {
        QtMsgType type;
        QByteArray category;
    };

private:
    QStringList m_lines;
    QList<Entry> m_entries;
    QtMessageHandler m_previous = nullptr;
    bool m_everyLevel;
};

} // namespace KorvaneTest
