#pragma once

#include "standinserver.h"

// The Qiniu form upload: POST / with the multipart fields "token", "key" and "file". The
// token is checked as the store checks it (a known access key, the HMAC-SHA1 of its own
// encoded policy under that key's secret key, a scope naming the bucket, a deadline still
// ahead); a key already stored is refused with status 614. GET /v4/query, the region query,
// names regions[bucket] as the bucket's upload host, for a known access key.
class QiniuStandIn final : public StoreStandIn
{
public:
    using StoreStandIn::StoreStandIn;

    QHash<QString, QString> secretKeys; // access key -> secret key
    QSet<QString> buckets;
    QStringList attempts; // the keys asked for, in order
    QHash<QString, QString> regions; // bucket -> "HOST:PORT" of its region's uploads

private:
    StandInResponse handle(const StandInRequest &request) override;
};
