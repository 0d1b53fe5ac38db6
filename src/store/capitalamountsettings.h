// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class CapitalAmountSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("TextCapitalRMB"); }

    bool autoBegin() const { return boolValue(QStringLiteral("autoBegin")); }
    void setAutoBegin(bool value) { setValue(QStringLiteral("autoBegin"), value); }

    bool autoEnd() const { return boolValue(QStringLiteral("autoEnd")); }
    void setAutoEnd(bool value) { setValue(QStringLiteral("autoEnd"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }
};
