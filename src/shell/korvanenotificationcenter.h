#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

// In-process notifications by name, delivered at once to every observer on the main thread.
class KorvaneNotificationCenter final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    static KorvaneNotificationCenter *defaultCenter();

    void post(const QString &name, const QVariantMap &userInfo = QVariantMap());
    // Calls handler for every notification of that name until context is destroyed.
    QMetaObject::Connection observe(const QString &name, QObject *context,
                                    const std::function<void(const QVariantMap &userInfo)> &handler);

Q_SIGNALS:
    void posted(const QString &name, const QVariantMap &userInfo);
};
