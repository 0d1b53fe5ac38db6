#pragma once

#include "korvanemanagedobject.h"

class TextAirDrop final : public KorvaneManagedObject
{
public:
    using KorvaneManagedObject::KorvaneManagedObject;

    static QString entityName() { return QStringLiteral("TextAirDrop"); }
};
