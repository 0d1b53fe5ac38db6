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
    QVariant itemProperty(const QString &name) const;

    // The pixels of the item's first icon image (IconPixmap, a(iiay)).
    QByteArray iconPixels() const;

    // The title of the item's tooltip (ToolTip, (sa(iiay)ss)).
    QString toolTipTitle() const;

    // The labels of the item's menu (com.canonical.dbusmenu), depth first.
    QStringList menuLabels() const;

    // Calls a method of the item with a position, as a click on it does.
    bool callItem(const QString &method, int x, int y) const;

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString &service);

private Q_SLOTS:
    void onNewIcon() { ++newIcons; }

private:
    // A menu node is (ia{sv}av): id, properties, children wrapped in variants.
    static void collectLabels(const QDBusArgument &node, QStringList &labels);
};

} // namespace KorvaneTest
