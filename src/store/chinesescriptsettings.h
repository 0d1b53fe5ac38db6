// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class ChineseScriptSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("TextTraditionalConversion"); }

    qint16 conversionType() const { return int16Value(QStringLiteral("conversionType")); }
    void setConversionType(qint16 value) { setValue(QStringLiteral("conversionType"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }
};
