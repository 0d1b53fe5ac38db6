#pragma once

#include "standinserver.h"

// The UpYun form upload: POST /BUCKET with the multipart fields "policy" and "authorization"
// and the file. The stand-in decodes the policy and compares it field by field with the file
// it received (bucket, save-key, content-md5, content-length, expiration, date), recomputes
// the "UPYUN operator:signature" from the operator's password, and checks the body byte for
// byte against the layout the form client writes, with the file named "fileName". Its keys
// are save keys, which start with "/".
class UpYunStandIn final : public StoreStandIn
{
public:
    using StoreStandIn::StoreStandIn;

    QHash<QString, QString> passwords; // operator -> password
    QSet<QString> buckets;

private:
    StandInResponse handle(const StandInRequest &request) override;
};
