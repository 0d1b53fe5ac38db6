#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>

namespace KorvaneTest {

// A stand-in org.kde.StatusNotifierWatcher with a host, as a panel runs it: records the items
// that register and reads them over the bus as the panel would.
class StatusNotifierWatcher final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems MEMBER items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)

public:
    // Bus names of the registered items.
    QStringList items;
    int newIcons = 0;

    bool isHostRegistered() const { return true; }

    // A property of the last registered item, as the host reads it.
    QVariant itemProperty(const QString &name) const
    {
        QDBusMessage get = QDBusMessage::createMethodCall(items.last(), QStringLiteral("/StatusNotifierItem"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << name;
        return QDBusConnection::sessionBus().call(get, QDBus::BlockWithGui).arguments().value(0).value<QDBusVariant>().variant();
    }

    // The pixels of the item's first icon image (IconPixmap, a(iiay)).
    QByteArray iconPixels() const
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

    // The title of the item's tooltip (ToolTip, (sa(iiay)ss)).
    QString toolTipTitle() const
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

    // The labels of the item's menu (com.canonical.dbusmenu), depth first.
    QStringList menuLabels() const
    {
        const QString path = itemProperty(QStringLiteral("Menu")).value<QDBusObjectPath>().path();
        QDBusMessage layout = QDBusMessage::createMethodCall(items.last(), path, QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetLayout"));
        layout << 0 << -1 << QStringList();
        QStringList labels;
        collectLabels(QDBusConnection::sessionBus().call(layout, QDBus::BlockWithGui).arguments().value(1).value<QDBusArgument>(), labels);
        return labels;
    }

    // Calls a method of the item with a position, as a click on it does.
    bool callItem(const QString &method, int x, int y) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall(items.last(), QStringLiteral("/StatusNotifierItem"),
                                                           QStringLiteral("org.kde.StatusNotifierItem"), method);
        call << x << y;
        return QDBusConnection::sessionBus().call(call, QDBus::BlockWithGui).type() == QDBusMessage::ReplyMessage;
    }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString &service)
    {
        items.append(service);
        QDBusConnection::sessionBus().connect(items.last(), QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.kde.StatusNotifierItem"),
                                              QStringLiteral("NewIcon"), this, SLOT(onNewIcon()));
    }

private Q_SLOTS:
    void onNewIcon() { ++newIcons; }

private:
    // A menu node is (ia{sv}av): id, properties, children wrapped in variants.
    static void collectLabels(const QDBusArgument &node, QStringList &labels)
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
};

} // namespace KorvaneTest
