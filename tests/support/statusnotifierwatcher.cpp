#include "support/statusnotifierwatcher.h"

#include <QDBusVariant>

namespace KorvaneTest {

QVariant StatusNotifierWatcher::itemProperty(const QString &name) const
{
    QDBusMessage get = QDBusMessage::createMethodCall(items.last(), QStringLiteral("/StatusNotifierItem"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierItem") << name;
    return QDBusConnection::sessionBus().call(get, QDBus::BlockWithGui).arguments().value(0).value<QDBusVariant>().variant();
}

QByteArray StatusNotifierWatcher::iconPixels() const
{
    const QDBusArgument images = itemProperty(QStringLiteral("IconPixmap")).value<QDBusArgument>();
    int width = 0, height = 0;
    QByteArray pixels;
    images.beginArray();
    if (!images.atEnd()) {
        images.beginStructure();
        images >> width >> height >> pixels;
        images.endStructure();
    }
    images.endArray();
    return pixels;
}

QString StatusNotifierWatcher::toolTipTitle() const
{
    const QDBusArgument tip = itemProperty(QStringLiteral("ToolTip")).value<QDBusArgument>();
    QString iconName, title;
    tip.beginStructure();
    tip >> iconName;
    tip.beginArray();
    tip.endArray();
    tip >> title;
    tip.endStructure();
    return title;
}

QStringList StatusNotifierWatcher::menuLabels() const
{
    const QString path = itemProperty(QStringLiteral("Menu")).value<QDBusObjectPath>().path();
    QDBusMessage layout = QDBusMessage::createMethodCall(items.last(), path, QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetLayout"));
    layout << 0 << -1 << QStringList();
    QStringList labels;
    collectLabels(QDBusConnection::sessionBus().call(layout, QDBus::BlockWithGui).arguments().value(1).value<QDBusArgument>(), labels);
    return labels;
}

bool StatusNotifierWatcher::callItem(const QString &method, int x, int y) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(items.last(), QStringLiteral("/StatusNotifierItem"),
                                                       QStringLiteral("org.kde.StatusNotifierItem"), method);
    call << x << y;
    return QDBusConnection::sessionBus().call(call, QDBus::BlockWithGui).type() == QDBusMessage::ReplyMessage;
}

void StatusNotifierWatcher::RegisterStatusNotifierItem(const QString &service)
{
    items.append(service);
    QDBusConnection::sessionBus().connect(items.last(), QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.kde.StatusNotifierItem"),
                                          QStringLiteral("NewIcon"), this, SLOT(onNewIcon()));
}

void StatusNotifierWatcher::collectLabels(const QDBusArgument &node, QStringList &labels)
{
    int id = 0;
    QVariantMap properties;
    node.beginStructure();
    node >> id >> properties;
    if (properties.contains(QStringLiteral("label")))
        labels.append(properties.value(QStringLiteral("label")).toString());
    node.beginArray();
    while (!node.atEnd()) {
        QDBusVariant child;
        node >> child;
        collectLabels(child.variant().value<QDBusArgument>(), labels);
    }
    node.endArray();
    node.endStructure();
}

} // namespace KorvaneTest
