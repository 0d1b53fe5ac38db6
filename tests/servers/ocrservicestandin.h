#pragma once

#include "servers/standinserver.h"

#include <QJsonArray>

// Stands in on 127.0.0.1 for both hosts of cloud recognition: the service's token request
// ("GET /quorvix/api/ocr/token") and the handwriting recognition ("POST /ocr/handwriting",
// multipart). It checks what the real ones would: the Authorization header carries a token it
// issued, the form has "appid" and one "image" part with the boundary of the Content-Type.
// Images are known by their bytes: recognised lines, a failing code, or a delay before the
// answer, so tests decide the order in which answers arrive.
class OcrServiceStandIn final : public StandInServer
{
public:
    struct Recognition {
        QStringList lines;
        int code = 0;
        int delayMs = 0;
    };
    struct Request {
        QByteArray authorization;
        QByteArray appid;
        int imageParts = 0;
        QByteArray fileName;
        bool valid = false;
    };

    OcrServiceStandIn() { start(); }

    void setRecognition(const QByteArray &image, const Recognition &recognition) { m_images.insert(image, recognition); }
    void setTokensFail(bool fail) { m_tokensFail = fail; }
    int tokenRequests() const { return int(m_tokens.size()); }
    const QList<Request> &recognitions() const { return m_recognitions; }

private:
    StandInResponse handle(const StandInRequest &received) override
    {
        if (received.method == "GET" && received.target == "/quorvix/api/ocr/token") {
            m_tokens.append("tok-" + QByteArray::number(m_tokens.size() + 1));
            return StandInResponse::json(m_tokensFail ? QJsonObject{{"code", 500}, {"msg", "no token"}}
                                                      : QJsonObject{{"code", 200}, {"data", QJsonObject{{"token", QString::fromLatin1(m_tokens.last())}}}});
        }
        if (received.method != "POST" || received.target != "/ocr/handwriting")
            return StandInResponse::text("text/plain", QByteArray(), 404);
        Request request;
        request.authorization = received.header("Authorization");
        QByteArray image;
        QList<StandInPart> parts;
        QString error;
        parseMultipart(received, &parts, &error);
        for (const StandInPart &part : std::as_const(parts)) {
            if (part.name == QLatin1String("appid"))
                request.appid = part.data;
            if (part.name == QLatin1String("image")) {
                ++request.imageParts;
                image = part.data;
                request.fileName = part.fileName.toUtf8();
            }
        }
        request.valid = m_tokens.contains(request.authorization) && !request.appid.isEmpty() && request.imageParts == 1;
        m_recognitions.append(request);
        const Recognition recognition = m_images.value(image);
        QJsonObject answer{{"code", request.valid ? recognition.code : 3}};
        QJsonArray items;
        for (const QString &line : recognition.lines)
            items.append(QJsonObject{{"itemstring", line}});
        if (request.valid && recognition.code == 0)
            answer.insert("data", QJsonObject{{"items", items}});
        StandInResponse response = StandInResponse::json(answer);
        response.behaviour = StandInResponse::Behaviour::Slow;
        response.delayMs = recognition.delayMs;
        return response;
    }

    QHash<QByteArray, Recognition> m_images;
    QList<QByteArray> m_tokens;
    QList<Request> m_recognitions;
    bool m_tokensFail = false;
};
