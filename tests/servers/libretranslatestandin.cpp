#include "libretranslatestandin.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

StandInResponse error(int status, const QString &text)
{
    return StandInResponse::json(QJsonObject{{QStringLiteral("error"), text}}, status);
}

} // namespace

StandInResponse LibreTranslateStandIn::handle(const StandInRequest &request)
{
    if (request.path != QLatin1String("/translate") || request.method != "POST") {
        problem(QStringLiteral("%1 %2").arg(QString::fromLatin1(request.method), request.path));
        return error(404, QStringLiteral("Not Found"));
    }
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    if (!request.header("Content-Type").startsWith("application/json") || !document.isObject()) {
        problem(QStringLiteral("the body is not a JSON object"));
        return error(400, QStringLiteral("Invalid request"));
    }
    const QVariantMap fields = document.object().toVariantMap();
    for (const char *name : {"q", "source", "target", "format"}) {
        if (!fields.contains(QString::fromLatin1(name))) {
            problem(QStringLiteral("no %1").arg(QString::fromLatin1(name)));
            return error(400, QStringLiteral("Invalid request: missing %1 parameter").arg(QString::fromLatin1(name)));
        }
    }
    if (fields.value(QStringLiteral("source")) != QLatin1String("auto") || fields.value(QStringLiteral("format")) != QLatin1String("text"))
        problem(QStringLiteral("source %1, format %2").arg(fields.value(QStringLiteral("source")).toString(), fields.value(QStringLiteral("format")).toString()));
    if (!requiredApiKey.isEmpty() && fields.value(QStringLiteral("api_key")).toString() != requiredApiKey)
        return error(403, QStringLiteral("Invalid API key"));
    const QString target = fields.value(QStringLiteral("target")).toString();
    if (!languages.contains(target))
        return error(400, QStringLiteral("%1 is not supported").arg(target));
    const QString q = fields.value(QStringLiteral("q")).toString();
    const QString translated = dictionary.value(target).value(q, QStringLiteral("<%1> %2").arg(target, q));
    return StandInResponse::json(QJsonObject{{QStringLiteral("translatedText"), translated},
                                             {QStringLiteral("detectedLanguage"), QJsonObject{{QStringLiteral("confidence"), 90}, {QStringLiteral("language"), QStringLiteral("en")}}}});
}
