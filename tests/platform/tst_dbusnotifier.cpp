#include "platform/dbus/dbusnotifier.h"
#include "support/desktopsession.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

using namespace KorvaneTest;

class DBusNotifierTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void postsLaterAndReplacesTheLastOne();

private:
    DesktopSession m_desktop;
};

void DBusNotifierTest::initTestCase()
{
    // A private session bus: the test never talks to the desktop's own.
    QVERIFY2(m_desktop.startBus(), "dbus-daemon is not installed");
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void DBusNotifierTest::postsLaterAndReplacesTheLastOne()
{
    NotificationServer server;
    QDBusConnection serverBus = QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                              QStringLiteral("server"));
    QVERIFY(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server, QDBusConnection::ExportAllSlots));
    QVERIFY(serverBus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    DBusNotifier notifier;
    Notification content;
    content.title = QStringLiteral("Backup succeeded");
    content.body = QStringLiteral("3 files copied");
    content.attachmentImage = QStringLiteral(":/images/notificationDone.png");
    server.clock.start();
    notifier.post(content);
    QTest::qWait(250);
    QVERIFY(server.calls.isEmpty());
    QTRY_COMPARE(server.calls.size(), 1);

    const NotificationServer::Call first = server.calls.first();
    QVERIFY2(first.atMilliseconds >= 390, qPrintable(QString::number(first.atMilliseconds)));
    QCOMPARE(first.appName, QStringLiteral("Korvane"));
    QCOMPARE(first.appIcon, QStringLiteral("com.korvane.Korvane"));
    QCOMPARE(first.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("com.korvane.Korvane"));
    QCOMPARE(first.replacesId, 0u);
    QCOMPARE(first.summary, QStringLiteral("Backup succeeded"));
    QCOMPARE(first.body, QStringLiteral("3 files copied"));
    const QString image = first.hints.value(QStringLiteral("image-path")).toString();
    QVERIFY(QFileInfo(image).isAbsolute());
    QVERIFY(!QImage(image).isNull());

    // The next notification replaces the one shown before it.
    content.title = QStringLiteral("Backup failed");
    content.body = QString();
    notifier.post(content);
    QTRY_COMPARE(server.calls.size(), 2);
    QCOMPARE(server.calls.at(1).replacesId, 41u);
    QCOMPARE(server.calls.at(1).summary, QStringLiteral("Backup failed"));

    // No server on the bus: the notification goes to the fallback instead.
    QStringList fellBack;
    notifier.setFallback([&fellBack](const Notification &shown) { fellBack.append(shown.title); });
    serverBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^posting a notification failed")));
    notifier.post(content);
    QTRY_COMPARE(fellBack, QStringList{QStringLiteral("Backup failed")});
    QCOMPARE(server.calls.size(), 2);
}

QTEST_GUILESS_MAIN(DBusNotifierTest)
#include "tst_dbusnotifier.moc"
