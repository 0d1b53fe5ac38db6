#pragma once

#include "platform/settings.h"
#include "platform/platform.h"
#include "platform/settingsbackend.h"

#include <QString>
#include <QStringList>
#include <QtMessageHandler>

#include <memory>

namespace KorvaneTest {

// A new part of the platform in place of the one it had, kept to look at afterwards.
template<typename Part, typename Base, typename... Arguments>
Part *install(void (*set)(std::unique_ptr<Base>), Arguments &&...arguments)
{
    auto part = std::make_unique<Part>(std::forward<Arguments>(arguments)...);
    Part *kept = part.get();
    set(std::move(part));
    return kept;
}

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
