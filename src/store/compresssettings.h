// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class CompressSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("ImageCompression"); }

    bool autoPNGtoJPG() const { return boolValue(QStringLiteral("autoPNGtoJPG")); }
    void setAutoPNGtoJPG(bool value) { setValue(QStringLiteral("autoPNGtoJPG"), value); }

    float compressionRatio() const { return floatValue(QStringLiteral("compressionRato")); }
    void setCompressionRatio(float value) { setValue(QStringLiteral("compressionRato"), value); }

    QString endName() const { return stringValue(QStringLiteral("endName")); }
    void setEndName(const QString &value) { setValue(QStringLiteral("endName"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    bool needSave() const { return boolValue(QStringLiteral("needSave")); }
    void setNeedSave(bool value) { setValue(QStringLiteral("needSave"), value); }

    QString savePath() const { return stringValue(QStringLiteral("savePath")); }
    void setSavePath(const QString &value) { setValue(QStringLiteral("savePath"), value); }
};
