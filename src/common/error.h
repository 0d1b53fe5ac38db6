#pragma once

#include <QString>

namespace Korvane {

// The error of a failed action: the domain, a code fixed per failure and the localised
// message the user reads in the notification.
class Error final
{
public:
    static QString errorDomain() { return QStringLiteral("com.tarnwel.korvane.ErrorDomain"); }

    Error() = default;
    Error(int code, const QString &localizedDescription, const QString &domain = errorDomain());

    bool isNull() const { return m_domain.isEmpty(); }
    QString domain() const { return m_domain; }
    int code() const { return m_code; }
    QString localizedDescription() const { return m_localizedDescription; }

private:
    QString m_domain;
    int m_code = 0;
    QString m_localizedDescription;
};

} // namespace Korvane
