#pragma once

#include "standinserver.h"

#include <QSet>

// The Sina single-sign-on login (POST /sso/login.php, a SUB session cookie in its
// Set-Cookie fields) and the Weibo picture upload (POST /interface/pic_upload.php, one
// "b64_data" part, answered by an HTML page whose JSON follows "</script>"). One server
// plays both, so that a cookie the login hands out is one the upload accepts.
class WeiboStandIn final : public StandInServer
{
public:
    using StandInServer::StandInServer;

    QHash<QString, QString> accounts; // account -> password
    bool sendSub = true; // false: a successful login without the SUB cookie
    QSet<QString> validSubs; // SUB values the upload accepts
    QString lastSub;
    QString pid = QStringLiteral("006ogzO5ly1gk1h9a6x8sj30u00u0q4f");
    QList<QByteArray> images; // the images stored, decoded, in the order received

private:
    StandInResponse handle(const StandInRequest &request) override;
    StandInResponse login(const StandInRequest &request);
    StandInResponse upload(const StandInRequest &request);
};
