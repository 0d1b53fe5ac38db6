// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class ResizeSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("ImageResize"); }

    QString endName() const { return stringValue(QStringLiteral("endName")); }
    void setEndName(const QString &value) { setValue(QStringLiteral("endName"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    bool needSave() const { return boolValue(QStringLiteral("needSave")); }
    void setNeedSave(bool value) { setValue(QStringLiteral("needSave"), value); }

    qint16 resizeType() const { return int16Value(QStringLiteral("resizeType")); }
    void setResizeType(qint16 value) { setValue(QStringLiteral("resizeType"), value); }

    QString savePath() const { return stringValue(QStringLiteral("savePath")); }
    void setSavePath(const QString &value) { setValue(QStringLiteral("savePath"), value); }

    qint16 targetPixels() const { return int16Value(QStringLiteral("targetpx")); }
    void setTargetPixels(qint16 value) { setValue(QStringLiteral("targetpx"), value); }

    float targetRatio() const { return floatValue(QStringLiteral("targetRato")); }
    void setTargetRatio(float value) { setValue(QStringLiteral("targetRato"), value); }
};
