#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QUrl>

#include <functional>

// Compares the running version with the one the product's service reports. Any other
// version text, older or newer, counts as an update. The windows that show the outcome live
// in the shell.
class UpdateCheck final
{
public:
    UpdateCheck() = delete;

    // Off: no service is set up to ask, so no check was made.
    enum class Outcome { Failed,
                         UpToDate,
                         UpdateAvailable,
                         Off };
    using CheckCompletion = std::function<void(Outcome outcome, const QString &serverVersion)>;

    static QString dateFormat() { return QStringLiteral("MM dd yyyy"); }
    static qint64 interval() { return 259200; }
    static QUrl downloadUrl();
    static QUrl changeLogUrl();

    // Whether a service to ask is set up (hosts/service); without one, checks are off.
    static bool isConfigured();

    // Asks the service now. With no service set up it reports Off without a request.
    static void checkForUpdate(const CheckCompletion &completion);

    // The check made when the popover closes: at most once every three days, the day stored
    // before the request so that a failed one waits three days too. With no service set up
    // nothing is sent. True when a request went out; the completion is called only then.
    static bool checkAutomatically(const CheckCompletion &completion);
    static bool checkAutomatically(const QDateTime &now, const CheckCompletion &completion);
};
