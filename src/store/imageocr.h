// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/korvanemanagedobject.h"

class ImageOCR final : public KorvaneManagedObject
{
public:
    using KorvaneManagedObject::KorvaneManagedObject;

    static QString entityName() { return QStringLiteral("ImageOCR"); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }
};
