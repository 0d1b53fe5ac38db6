// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class CopySettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("FileCopy"); }

    QString savePath() const { return stringValue(QStringLiteral("savePath")); }
    void setSavePath(const QString &value) { setValue(QStringLiteral("savePath"), value); }
};
