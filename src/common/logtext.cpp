#include "common/logtext.h"

#include <QCryptographicHash>
#include <QLoggingCategory>

QString LogText::summary(const QString &text, const QLoggingCategory &category)
{
    return category.isDebugEnabled() ? text : summary(text.toUtf8(), category);
}

QString LogText::summary(const QByteArray &bytes, const QLoggingCategory &category)
{
    if (category.isDebugEnabled())
        return QString::fromUtf8(bytes);
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).left(4).toHex();
    return QStringLiteral("%1 bytes, #%2").arg(bytes.size()).arg(QLatin1String(hash));
}
