// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/korvanemanagedobject.h"

class TextTranslate final : public KorvaneManagedObject
{
public:
    using KorvaneManagedObject::KorvaneManagedObject;

    static QString entityName() { return QStringLiteral("TextTranslate"); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    qint16 type() const { return int16Value(QStringLiteral("type")); }
    void setType(qint16 value) { setValue(QStringLiteral("type"), value); }
};
