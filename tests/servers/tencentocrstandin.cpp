#include "tencentocrstandin.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

StandInResponse TencentOcrStandIn::handle(const StandInRequest &request)
{
    const QStringList paths{QStringLiteral("/ocr/general"), QStringLiteral("/ocr/handwriting"), QStringLiteral("/ocr/bankcard"),
                            QStringLiteral("/ocr/bizlicense"), QStringLiteral("/ocr/idcard"), QStringLiteral("/ocr/businesscard")};
    if (request.method != "POST" || !paths.contains(request.path)) {
        problem(QStringLiteral("%1 %2").arg(QString::fromLatin1(request.method), request.path));
        return StandInResponse::json(QJsonObject{{QStringLiteral("code"), -1}, {QStringLiteral("message"), QStringLiteral("no such path")}}, 404);
    }
    if (QString::fromUtf8(request.header("Authorization")) != token)
        return StandInResponse::json(QJsonObject{{QStringLiteral("code"), -5}, {QStringLiteral("message"), QStringLiteral("auth failed")}}, 401);

    const bool list = request.path == QLatin1String("/ocr/idcard") || request.path == QLatin1String("/ocr/businesscard");
    QStringList imageNames;
    int images = 0;
    QString sentAppId;
    lastParts.clear();
    lastJson.clear();
    if (request.header("Content-Type") == "application/json") {
        lastJson = QJsonDocument::fromJson(request.body).object().toVariantMap();
        sentAppId = lastJson.value(QStringLiteral("appid")).toString();
        if (list) {
            for (const QVariant &url : lastJson.value(QStringLiteral("url_list")).toList())
                imageNames.append(url.toString());
        } else if (!lastJson.value(QStringLiteral("url")).toString().isEmpty()) {
            imageNames.append(lastJson.value(QStringLiteral("url")).toString());
        }
        images = int(imageNames.size());
        if (request.path == QLatin1String("/ocr/idcard") && !lastJson.contains(QStringLiteral("card_type")))
            problem(QStringLiteral("no card_type"));
    } else {
        QString error;
        QByteArray boundary;
        if (!parseMultipart(request, &lastParts, &error, &boundary)) {
            problem(error);
            return StandInResponse::json(QJsonObject{{QStringLiteral("code"), -1300}, {QStringLiteral("message"), error}}, 400);
        }
        if (!QRegularExpression(QStringLiteral("^===[0-9]+000===$")).match(QString::fromLatin1(boundary)).hasMatch())
            problem(QStringLiteral("boundary \"%1\"").arg(QString::fromLatin1(boundary)));
        if (lastParts.isEmpty() || lastParts.first().name != QLatin1String("appid") || lastParts.first().hasFileName)
            problem(QStringLiteral("the first part is not appid"));
        for (const StandInPart &part : std::as_const(lastParts)) {
            if (part.name == QLatin1String("appid"))
                sentAppId = QString::fromUtf8(part.data);
            else if (part.name == QLatin1String("image")) {
                ++images;
                imageNames.append(part.fileName);
            } else if (part.name != QLatin1String("card_type")) {
                problem(QStringLiteral("unknown part %1").arg(part.name));
            }
        }
    }
    if (sentAppId != appId)
        return StandInResponse::json(QJsonObject{{QStringLiteral("code"), -3}, {QStringLiteral("message"), QStringLiteral("appid mismatch")}});

    if (list) {
        QJsonArray results;
        for (const QString &name : std::as_const(imageNames)) {
            QJsonObject entry{{QStringLiteral("code"), 0}, {QStringLiteral("message"), QStringLiteral("OK")}, {QStringLiteral("filename"), name}, {QStringLiteral("url"), name}};
            if (request.path == QLatin1String("/ocr/idcard")) {
                QJsonObject data;
                for (const auto &[key, value] : std::as_const(cardItems))
                    data.insert(key, value);
                entry.insert(QStringLiteral("data"), data);
            } else {
                QJsonArray data;
                for (const auto &[key, value] : std::as_const(cardItems))
                    data.append(QJsonObject{{QStringLiteral("item"), key}, {QStringLiteral("value"), value}, {QStringLiteral("confidence"), 0.99}});
                entry.insert(QStringLiteral("data"), data);
            }
            results.append(entry);
        }
        return StandInResponse::json(QJsonObject{{QStringLiteral("result_list"), results}});
    }
    if (images == 0)
        return StandInResponse::json(QJsonObject{{QStringLiteral("code"), -1300}, {QStringLiteral("message"), QStringLiteral("图片为空")}});
    QJsonArray items;
    if (request.path == QLatin1String("/ocr/bankcard") || request.path == QLatin1String("/ocr/bizlicense")) {
        for (const auto &[label, value] : std::as_const(cardItems))
            items.append(QJsonObject{{QStringLiteral("item"), label}, {QStringLiteral("itemstring"), value}});
    } else {
        for (const QString &line : std::as_const(lines))
            items.append(QJsonObject{{QStringLiteral("itemstring"), line}, {QStringLiteral("itemconf"), 0.99}});
    }
    return StandInResponse::json(QJsonObject{{QStringLiteral("code"), 0}, {QStringLiteral("message"), QStringLiteral("OK")}, {QStringLiteral("data"), QJsonObject{{QStringLiteral("angle"), 0}, {QStringLiteral("items"), items}}}});
}
