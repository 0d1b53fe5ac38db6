// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/korvanemanagedobject.h"

class FileAirDrop final : public KorvaneManagedObject
{
public:
    using KorvaneManagedObject::KorvaneManagedObject;

    static QString entityName() { return QStringLiteral("FileAirDrop"); }
};
