#include "platform/dbus/dbusnotifier.h"

#include "platform/platformlogging.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTimer>

void DBusNotifier::post(const Notification &content)
{
    QTimer::singleShot(400, QCoreApplication::instance(), [this, content] { send(content); });
}

QString DBusNotifier::imagePath(const QString &resource) const
{
    // Notification servers read images from files; copy the resource out once.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QLatin1String("/korvane");
    const QString path = folder + QLatin1Char('/') + QFileInfo(resource).fileName();
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(folder);
        QFile::copy(resource, path);
    }
    return path;
}

void DBusNotifier::send(const Notification &content)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        fallBack(content, QStringLiteral("no session bus"));
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                          QStringLiteral("/org/freedesktop/Notifications"),
                                                          QStringLiteral("org.freedesktop.Notifications"),
                                                          QStringLiteral("Notify"));
    QVariantMap hints;
    if (!content.attachmentImage.isEmpty())
        hints.insert(QStringLiteral("image-path"), imagePath(content.attachmentImage));
    hints.insert(QStringLiteral("desktop-entry"), QString(DesktopEntry));
    // The icon installed under the desktop entry's name.
    message << QStringLiteral("Korvane") << m_lastID << QString(DesktopEntry) << content.title << content.body << QStringList()
            << hints << int(-1);

    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), QCoreApplication::instance());
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, QCoreApplication::instance(),
                     [this, content](QDBusPendingCallWatcher *w) {
                         w->deleteLater();
                         QDBusPendingReply<quint32> reply = *w;
                         if (reply.isError()) {
                             fallBack(content, reply.error().message());
                             return;
                         }
                         qCInfo(lcNotify, "request authorization succeeded!");
                         m_lastID = reply.value();
                     });
}

void DBusNotifier::fallBack(const Notification &content, const QString &why)
{
    qCWarning(lcNotify, "posting a notification failed: %s", qUtf8Printable(why));
    if (m_fallback)
        m_fallback(content);
}
