// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class OssUploadSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("FileUploadAli"); }

    QString aliAccessKey() const { return stringValue(QStringLiteral("aliAccessKey")); }
    void setAliAccessKey(const QString &value) { setValue(QStringLiteral("aliAccessKey"), value); }

    QString aliDomain() const { return stringValue(QStringLiteral("aliDomain")); }
    void setAliDomain(const QString &value) { setValue(QStringLiteral("aliDomain"), value); }

    QString aliSecretKey() const { return stringValue(QStringLiteral("aliSecretKey")); }
    void setAliSecretKey(const QString &value) { setValue(QStringLiteral("aliSecretKey"), value); }

    QString aliSpaceName() const { return stringValue(QStringLiteral("aliSpaceName")); }
    void setAliSpaceName(const QString &value) { setValue(QStringLiteral("aliSpaceName"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    qint16 suffixType() const { return int16Value(QStringLiteral("suffixType")); }
    void setSuffixType(qint16 value) { setValue(QStringLiteral("suffixType"), value); }
};
