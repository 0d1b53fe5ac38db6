#pragma once

#include "standinserver.h"

// Tencent COS, path-style: GET / on the service host lists the account's buckets as XML;
// PUT /BUCKET/KEY stores an object. Both check the "sha1" signature, recomputed from the
// secret key of the id it names, over the method and the object's path as the store sees it
// ("/" and "/KEY"), and its time window.
class CosStandIn final : public StoreStandIn
{
public:
    using StoreStandIn::StoreStandIn;

    struct Bucket {
        QString name; // full name, "NAME-APPID"
        QString region; // "ap-shanghai"
    };
    QHash<QString, QString> secretKeys; // secret id -> secret key
    QList<Bucket> buckets;
    // The XML namespace the list is written in; empty for none.
    QString xmlNamespace;

    static QString expectedSignature(const QString &secretKey, const QString &method, const QString &path,
                                     const QString &keyTime);
    QString listXml() const;

private:
    StandInResponse handle(const StandInRequest &request) override;
    bool checkSignature(const StandInRequest &request, const QString &method, const QString &path, StandInResponse *refusal);
};
