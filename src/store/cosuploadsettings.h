// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class CosUploadSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("FileUploadTencent"); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    qint16 suffixType() const { return int16Value(QStringLiteral("suffixType")); }
    void setSuffixType(qint16 value) { setValue(QStringLiteral("suffixType"), value); }

    QString tencentAccessKey() const { return stringValue(QStringLiteral("tencentAccessKey")); }
    void setTencentAccessKey(const QString &value) { setValue(QStringLiteral("tencentAccessKey"), value); }

    QString tencentDomain() const { return stringValue(QStringLiteral("tencentDomain")); }
    void setTencentDomain(const QString &value) { setValue(QStringLiteral("tencentDomain"), value); }

    QString tencentSecretKey() const { return stringValue(QStringLiteral("tencentSecretKey")); }
    void setTencentSecretKey(const QString &value) { setValue(QStringLiteral("tencentSecretKey"), value); }

    QString tencentSpaceName() const { return stringValue(QStringLiteral("tencentSpaceName")); }
    void setTencentSpaceName(const QString &value) { setValue(QStringLiteral("tencentSpaceName"), value); }
};
