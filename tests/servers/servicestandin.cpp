#include "servicestandin.h"

#include <QJsonObject>

namespace {

StandInResponse codeAnswer(int code, const QJsonObject &data = {}, const QString &message = QString())
{
    QJsonObject body{{QStringLiteral("code"), code}, {QStringLiteral("message"), message.isEmpty() ? QStringLiteral("success") : message}};
    if (!data.isEmpty())
        body.insert(QStringLiteral("data"), data);
    return StandInResponse::json(body);
}

} // namespace

StandInResponse ServiceStandIn::handle(const StandInRequest &request)
{
    if (request.path == QLatin1String("/quorvix/api/translate")) {
        if (request.method != "POST")
            return StandInResponse::text("text/plain", "method not allowed", 405);
        if (request.header("Content-Type") != "application/x-www-form-urlencoded;charset=UTF-8")
            problem(QStringLiteral("translate: Content-Type is \"%1\"").arg(QString::fromLatin1(request.header("Content-Type"))));
        const QHash<QString, QString> form = request.formFields();
        const QString target = form.value(QStringLiteral("targetLanguage"));
        const QStringList languages{QStringLiteral("zh"), QStringLiteral("en"), QStringLiteral("jp"),
                                    QStringLiteral("kr"), QStringLiteral("de"), QStringLiteral("fr")};
        if (!form.contains(QStringLiteral("sourceText")) || !languages.contains(target) || form.size() != 2) {
            problem(QStringLiteral("translate: the form holds %1").arg(QStringList(form.keys()).join(QLatin1Char(','))));
            return codeAnswer(400, {}, QStringLiteral("bad parameters"));
        }
        const QString source = form.value(QStringLiteral("sourceText"));
        const QString translated = dictionary.value(target).value(source, QStringLiteral("[%1] %2").arg(target, source));
        return codeAnswer(200, {{QStringLiteral("targetText"), translated}});
    }
    if (request.path == QLatin1String("/quorvix/api/ocr/token")) {
        if (request.method != "GET" || !request.rawQuery.isEmpty() || request.hasHeader("Authorization"))
            problem(QStringLiteral("ocr token: %1 with query \"%2\"").arg(QString::fromLatin1(request.method), QString::fromLatin1(request.rawQuery)));
        return codeAnswer(200, {{QStringLiteral("token"), token}});
    }
    if (request.path == QLatin1String("/quorvix/api/app/get")) {
        if (request.method != "GET")
            problem(QStringLiteral("app version: method %1").arg(QString::fromLatin1(request.method)));
        if (request.query.queryItemValue(QStringLiteral("version")).isEmpty()
            || request.query.queryItemValue(QStringLiteral("identifier")).isEmpty()) {
            problem(QStringLiteral("app version: query \"%1\"").arg(QString::fromLatin1(request.rawQuery)));
            return codeAnswer(400, {}, QStringLiteral("bad parameters"));
        }
        return codeAnswer(200, {{QStringLiteral("version"), version}});
    }
    problem(QStringLiteral("unknown path %1").arg(request.path));
    return StandInResponse::json(R"({"code":404,"message":"not found"})", 404);
}
