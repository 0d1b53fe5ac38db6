#pragma once

#include "store/korvanemanagedobject.h"

class TextAirDrop final : public KorvaneManagedObject
{
public:
    using KorvaneManagedObject::KorvaneManagedObject;

    static QString entityName() { return QStringLiteral("TextAirDrop"); }
};
