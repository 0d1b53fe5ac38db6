#include "net/signing.h"

#include <QMessageAuthenticationCode>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace Signing {

bool isJsonValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Nullptr:
        return true;
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        for (const QVariant &element : value.toList()) {
            if (!isJsonValue(element))
                return false;
        }
        return true;
    }
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (!isJsonValue(it.value()))
                return false;
        }
        return true;
    }
    default:
        return false;
    }
}

QByteArray prettyJsonObject(const QList<QPair<QString, QVariant>> &members)
{
    QByteArray out = "{\n";
    for (qsizetype i = 0; i < members.size(); ++i) {
        // A one-element array written compactly is "[value]": the value's own JSON text.
        const QByteArray key = QJsonDocument(QJsonArray{members[i].first}).toJson(QJsonDocument::Compact);
        const QByteArray value = QJsonDocument(QJsonArray{QJsonValue::fromVariant(members[i].second)}).toJson(QJsonDocument::Compact);
        out += "  " + key.mid(1, key.size() - 2) + " : " + value.mid(1, value.size() - 2);
        out += i + 1 < members.size() ? ",\n" : "\n";
    }
    out += "}";
    return out;
}

QByteArray hmacSha1(const QString &key, const QString &message)
{
    return QMessageAuthenticationCode::hash(message.toUtf8(), key.toUtf8(), QCryptographicHash::Sha1);
}

} // namespace Signing
