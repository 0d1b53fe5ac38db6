#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace KorvaneSigning {

// A flat JSON object written pretty-printed, one member per line indented by two spaces,
// "name" : value, in the order given. Values are strings, integers or doubles.
QByteArray prettyJsonObject(const QList<QPair<QString, QVariant>> &members);

// Whether every value is one a JSON object can hold.
bool isJsonValue(const QVariant &value);

} // namespace KorvaneSigning
