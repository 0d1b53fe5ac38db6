// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class RotateSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("ImageRotate"); }

    QString endName() const { return stringValue(QStringLiteral("endName")); }
    void setEndName(const QString &value) { setValue(QStringLiteral("endName"), value); }

    qint16 rotateType() const { return int16Value(QStringLiteral("rotateType")); }
    void setRotateType(qint16 value) { setValue(QStringLiteral("rotateType"), value); }

    QString savePath() const { return stringValue(QStringLiteral("savePath")); }
    void setSavePath(const QString &value) { setValue(QStringLiteral("savePath"), value); }
};
