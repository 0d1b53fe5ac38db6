#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace Signing {

// A flat JSON object written pretty-printed, one member per line indented by two spaces,
// "name" : value, in the order given. Values are strings, integers or doubles.
QByteArray prettyJsonObject(const QList<QPair<QString, QVariant>> &members);

// Whether every value is one a JSON object can hold.
bool isJsonValue(const QVariant &value);

// The HMAC-SHA1 of the message's UTF-8 bytes under the key's UTF-8 bytes, as every store's
// signature starts; each store writes it in its own encoding.
QByteArray hmacSha1(const QString &key, const QString &message);

} // namespace Signing
