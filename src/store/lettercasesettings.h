// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class LetterCaseSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("TextUpDownString"); }

    qint16 handleType() const { return int16Value(QStringLiteral("handleType")); }
    void setHandleType(qint16 value) { setValue(QStringLiteral("handleType"), value); }
};
