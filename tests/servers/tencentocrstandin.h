#pragma once

#include "standinserver.h"

#include <QVariant>

// Tencent image recognition: /ocr/general, /ocr/handwriting, /ocr/bankcard, /ocr/bizlicense,
// /ocr/idcard and /ocr/businesscard, by image URL (JSON) or by file (multipart). Checks the
// token in "Authorization" and the "appid" field; answers the lines it was given for every
// image, or the per-image "result_list" of the card paths.
class TencentOcrStandIn final : public StandInServer
{
public:
    using StandInServer::StandInServer;

    QString token = QStringLiteral("ocr-token-7f3a");
    QString appId = QStringLiteral("1257049364");
    QStringList lines{QStringLiteral("Hello Korvane"), QStringLiteral("第二行")};
    // The items of the card paths, as "item" label -> "itemstring".
    QList<QPair<QString, QString>> cardItems;
    // What the last request sent, for the tests to look at.
    QList<StandInPart> lastParts;
    QVariantMap lastJson;

private:
    StandInResponse handle(const StandInRequest &request) override;
};
