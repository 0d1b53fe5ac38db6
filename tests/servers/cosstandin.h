#pragma once

#include "standinserver.h"

#include <QSet>

// Tencent COS, path-style: GET / on the service host lists the account's buckets as XML;
// PUT /BUCKET/KEY stores an object. Both check the "sha1" signature, recomputed from the
// secret key of the id it names, over the method and the object's path as the store sees it
// ("/" and "/KEY"), and its time window.
class CosStandIn final : public StandInServer
{
public:
    using StandInServer::StandInServer;

    struct Bucket {
        QString name; // full name, "NAME-APPID"
        QString region; // "ap-shanghai"
    };
    QHash<QString, QString> secretKeys; // secret id -> secret key
    QList<Bucket> buckets;
    QHash<QString, QByteArray> objects; // "BUCKET/KEY" -> bytes
    // Keys whose PUT the store answers with an internal error, as a store in trouble does.
    QSet<QString> failingKeys;
    // The XML namespace the list is written in; empty for none.
    QString xmlNamespace;
    // The Unix time the server believes it is; 0: the clock's.
    qint64 now = 0;

    static QString expectedSignature(const QString &secretKey, const QString &method, const QString &path,
                                     const QString &keyTime);
    QString listXml() const;

private:
    StandInResponse handle(const StandInRequest &request) override;
    bool checkSignature(const StandInRequest &request, const QString &method, const QString &path, StandInResponse *refusal);
};
