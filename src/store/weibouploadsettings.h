// Written by tools/generate-entities.py: change the generator, not this file.
#pragma once

#include "store/storedrecord.h"

class WeiboUploadSettings final : public StoredRecord
{
public:
    using StoredRecord::StoredRecord;

    static QString entityName() { return QStringLiteral("ImageUploadWeiBo"); }

    qint16 cloudType() const { return int16Value(QStringLiteral("cloudType")); }
    void setCloudType(qint16 value) { setValue(QStringLiteral("cloudType"), value); }

    bool needCopy() const { return boolValue(QStringLiteral("needCopy")); }
    void setNeedCopy(bool value) { setValue(QStringLiteral("needCopy"), value); }

    QString qiniuAccessKey() const { return stringValue(QStringLiteral("qiniuAccessKey")); }
    void setQiniuAccessKey(const QString &value) { setValue(QStringLiteral("qiniuAccessKey"), value); }

    QString qiniuDomain() const { return stringValue(QStringLiteral("qiniuDomain")); }
    void setQiniuDomain(const QString &value) { setValue(QStringLiteral("qiniuDomain"), value); }

    QString qiniuSecretKey() const { return stringValue(QStringLiteral("qiniuSecretKey")); }
    void setQiniuSecretKey(const QString &value) { setValue(QStringLiteral("qiniuSecretKey"), value); }

    QString qiniuSpaceName() const { return stringValue(QStringLiteral("qiniuSpaceName")); }
    void setQiniuSpaceName(const QString &value) { setValue(QStringLiteral("qiniuSpaceName"), value); }

    qint16 suffixType() const { return int16Value(QStringLiteral("suffixType")); }
    void setSuffixType(qint16 value) { setValue(QStringLiteral("suffixType"), value); }

    QString weiboAccount() const { return stringValue(QStringLiteral("weiboAccount")); }
    void setWeiboAccount(const QString &value) { setValue(QStringLiteral("weiboAccount"), value); }

    QString weiboPassword() const { return stringValue(QStringLiteral("weiboPassWord")); }
    void setWeiboPassword(const QString &value) { setValue(QStringLiteral("weiboPassWord"), value); }
};
