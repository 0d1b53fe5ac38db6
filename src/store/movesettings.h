// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class MoveSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("FileMove"); }

    QString savePath() const { return stringValue(QStringLiteral("savePath")); }
    void setSavePath(const QString &value) { setValue(QStringLiteral("savePath"), value); }
};
