// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/korvanemanagedobject.h"

class TextUpDownString final : public KorvaneManagedObject
{
public:
    using KorvaneManagedObject::KorvaneManagedObject;

    static QString entityName() { return QStringLiteral("TextUpDownString"); }

    qint16 handleType() const { return int16Value(QStringLiteral("handleType")); }
    void setHandleType(qint16 value) { setValue(QStringLiteral("handleType"), value); }
};
