#include "net/updatecheck.h"

#include "net/apiclient.h"
#include "net/servicehosts.h"
#include "platform/settings.h"
#include "net/netlogging.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QTimeZone>
#include <QTimer>

namespace {

QString dayText(const QDate &day)
{
    // Digits only, but written with the C locale so no system locale changes them.
    return QLocale::c().toString(day, UpdateCheck::dateFormat());
}

} // namespace

QUrl UpdateCheck::downloadUrl()
{
    return QUrl(Korvane::Settings::updateDownloadUrl.read());
}

QUrl UpdateCheck::changeLogUrl()
{
    return QUrl(Korvane::Settings::updateChangeLogUrl.read());
}

bool UpdateCheck::isConfigured()
{
    return !ServiceHosts::service().isEmpty();
}

void UpdateCheck::checkForUpdate(const CheckCompletion &completion)
{
    if (!isConfigured()) {
        QTimer::singleShot(0, [completion] {
            if (completion)
                completion(Outcome::Off, QString());
        });
        return;
    }
    ApiClient::getAppVersion([completion](bool success, const QVariant &result, const QString &) {
        const QString version = result.toString();
        Outcome outcome = Outcome::Failed;
        if (success)
            outcome = version == ApiClient::currentVersion() ? Outcome::UpToDate : Outcome::UpdateAvailable;
        if (completion)
            completion(outcome, version);
    });
}

bool UpdateCheck::checkAutomatically(const CheckCompletion &completion)
{
    return checkAutomatically(QDateTime::currentDateTime(), completion);
}

bool UpdateCheck::checkAutomatically(const QDateTime &now, const CheckCompletion &completion)
{
    const Korvane::Setting<QString> &lastCheck = Korvane::Settings::lastCheckUpdate;
    QString stored = lastCheck.read();
    if (stored.isEmpty()) {
        stored = dayText(now.date());
        lastCheck.write(stored);
    }
    QDate last = QLocale::c().toDate(stored, dateFormat());
    if (!last.isValid()) {
        qCWarning(lcUpdate, "the stored %s \"%s\" is no date; checking now", qUtf8Printable(lastCheck.key()),
                  qUtf8Printable(stored));
        last = now.date().addDays(-4);
    }
    const QDateTime due = QDateTime(last, QTime(0, 0), now.timeZone()).addSecs(interval());
    if (!(due < now))
        return false;
    lastCheck.write(dayText(now.date()));
    if (!isConfigured()) {
        qCInfo(lcUpdate, "no update check: no service is set up");
        return false;
    }
    checkForUpdate(completion);
    return true;
}
