#include "shell/korvanenotificationcenter.h"

#include <QCoreApplication>

KorvaneNotificationCenter *KorvaneNotificationCenter::defaultCenter()
{
    static KorvaneNotificationCenter *center = new KorvaneNotificationCenter(QCoreApplication::instance());
    return center;
}

void KorvaneNotificationCenter::post(const QString &name, const QVariantMap &userInfo)
{
    Q_EMIT posted(name, userInfo);
}

QMetaObject::Connection KorvaneNotificationCenter::observe(const QString &name, QObject *context,
                                                           const std::function<void(const QVariantMap &)> &handler)
{
    return connect(this, &KorvaneNotificationCenter::posted, context, [name, handler](const QString &posted, const QVariantMap &userInfo) {
        if (posted == name)
            handler(userInfo);
    });
}
