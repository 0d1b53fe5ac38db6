// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class ClearStyleSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("TextClearStyle"); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }
};
