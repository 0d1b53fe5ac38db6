// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class UpyunUploadSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("FileUploadUP"); }

    QString admin() const { return stringValue(QStringLiteral("admin")); }
    void setAdmin(const QString &value) { setValue(QStringLiteral("admin"), value); }

    QString bucketName() const { return stringValue(QStringLiteral("bucketName")); }
    void setBucketName(const QString &value) { setValue(QStringLiteral("bucketName"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    QString secretCode() const { return stringValue(QStringLiteral("secretCode")); }
    void setSecretCode(const QString &value) { setValue(QStringLiteral("secretCode"), value); }

    qint16 suffixType() const { return int16Value(QStringLiteral("suffixType")); }
    void setSuffixType(qint16 value) { setValue(QStringLiteral("suffixType"), value); }

    QString upDomain() const { return stringValue(QStringLiteral("upDomain")); }
    void setUpDomain(const QString &value) { setValue(QStringLiteral("upDomain"), value); }
};
