#pragma once

#include "standinserver.h"

// Aliyun OSS PutObject, path-style: PUT /BUCKET/KEY. Checked as the store checks it: the
// Date is recent, Content-MD5 is the body's, and the "OSS key:signature" Authorization is
// recomputed from the secret of the access key it names over verb, Content-MD5,
// Content-Type, Date and "/BUCKET/KEY". A bucket addressed at the wrong region gets the
// store's 403 whose XML names the right endpoint.
class OssStandIn final : public StoreStandIn
{
public:
    using StoreStandIn::StoreStandIn;

    QHash<QString, QString> secretKeys; // access key -> secret key
    QSet<QString> buckets;
    // One host for every region: the next this many PUTs count as sent to the wrong one.
    int wrongEndpointAnswers = 0;
    QString rightEndpoint = QStringLiteral("oss-cn-hangzhou.aliyuncs.com");

private:
    StandInResponse handle(const StandInRequest &request) override;
};
