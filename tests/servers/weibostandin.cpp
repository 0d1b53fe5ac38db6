#include "weibostandin.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

const QByteArray userAgent = "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
                             "Chrome/67.0.3396.79 Safari/537.36";

QByteArray uploadPage(const QByteArray &json)
{
    return "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />"
           "<script type=\"text/javascript\">document.domain=\"sina.com.cn\";</script>"
        + json;
}

} // namespace

StandInResponse WeiboStandIn::handle(const StandInRequest &request)
{
    if (request.path == QLatin1String("/sso/login.php") && request.method == "POST")
        return login(request);
    if (request.path == QLatin1String("/interface/pic_upload.php") && request.method == "POST")
        return upload(request);
    problem(QStringLiteral("%1 %2").arg(QString::fromLatin1(request.method), request.path));
    return StandInResponse::text("text/html", "<html><body>404</body></html>", 404);
}

StandInResponse WeiboStandIn::login(const StandInRequest &request)
{
    const QList<QPair<QByteArray, QByteArray>> headers{
        {"Referer", baseUrl().toUtf8() + '/'},
        {"User-Agent", userAgent},
        {"Content-Type", "application/x-www-form-urlencoded"},
        {"Accept", QStringLiteral("text/html,application/xhtml+xm\u2026plication/xml;q=0.9,*/*;q=0.8").toUtf8()},
        {"Accept-Encoding", "deflate, br"},
        {"Accept-Language", "zh-CN,zh;q=0.8,zh-TW;q=0.7,zh-HK;q=0.5,en-US;q=0.3,en;q=0.2"},
    };
    for (const auto &[name, value] : headers) {
        if (request.header(name) != value)
            problem(QStringLiteral("login header %1 is \"%2\"").arg(QString::fromLatin1(name), QString::fromUtf8(request.header(name))));
    }
    const QHash<QString, QString> form = request.formFields();
    const char *const fixed[][2] = {{"vsnf", "1"}, {"savestate", "30"}, {"returntype", "TEXT"}, {"encoding", "UTF-8"}, {"entry", "sso"}, {"prelt", "0"}, {"service", "sso"}, {"useticket", "0"}, {"from", "null"}, {"gateway", "1"}, {"cdult", "3"}, {"sr", "1024*768"}};
    for (const auto &[name, value] : fixed) {
        if (form.value(QLatin1String(name)) != QLatin1String(value))
            problem(QStringLiteral("login field %1 is \"%2\"").arg(QLatin1String(name), form.value(QLatin1String(name))));
    }
    if (form.size() != 15 || form.value(QStringLiteral("domain")).isEmpty())
        problem(QStringLiteral("login form has %1 fields").arg(form.size()));
    const QString account = QString::fromUtf8(QByteArray::fromBase64(form.value(QStringLiteral("su")).toLatin1()));
    if (!accounts.contains(account) || accounts.value(account) != form.value(QStringLiteral("sp"))) {
        return StandInResponse::json(QJsonObject{{QStringLiteral("retcode"), QStringLiteral("101")}, {QStringLiteral("reason"), QStringLiteral("登录名或密码错误")}});
    }
    StandInResponse response = StandInResponse::json(
        R"({"retcode":"0","uid":"5678901234","nick":"korvane","crossDomainUrlList":["https://passport.weibo.com/wbsso/login"]})");
    response.addHeader("Set-Cookie", "SCF=AjsEaVa0e; expires=Sat, 29-Jan-2033 06:51:39 GMT; path=/; domain=.sina.com.cn; Httponly");
    if (sendSub) {
        lastSub = QStringLiteral("_2A25%1").arg(QRandomGenerator::global()->generate64(), 0, 16);
        validSubs.insert(lastSub);
        response.addHeader("Set-Cookie", "SUB=" + lastSub.toLatin1() + "; path=/; domain=.sina.com.cn; Httponly");
    }
    response.addHeader("Set-Cookie", "SUBP=0033WrSXqPxfM725Ws9jqgMF55529P9D9W5; expires=Sun, 29-Jan-2034 06:51:39 GMT; path=/; domain=.sina.com.cn");
    response.addHeader("Set-Cookie", "ALF=1706510699; expires=Mon, 29-Jan-2024 06:51:39 GMT; path=/; domain=.sina.com.cn");
    return response;
}

StandInResponse WeiboStandIn::upload(const StandInRequest &request)
{
    const QString query = QString::fromLatin1(request.rawQuery);
    if (query != QLatin1String("ori=1&mime=image%2Fjpeg&data=base64&url=0&markpos=1&logo=&nick=0&marks=1&app=miniblog"))
        problem(QStringLiteral("upload query \"%1\"").arg(query));
    if (request.header("Referer") != baseUrl().toUtf8() + '/')
        problem(QStringLiteral("upload Referer \"%1\"").arg(QString::fromLatin1(request.header("Referer"))));
    if (request.header("Accept") != "text/html, image/gif, image/jpeg, *; q=.2, */*; q=.2")
        problem(QStringLiteral("upload Accept \"%1\"").arg(QString::fromLatin1(request.header("Accept"))));
    QList<StandInPart> parts;
    QString error;
    QByteArray boundary;
    if (!parseMultipart(request, &parts, &error, &boundary)) {
        problem(error);
        return StandInResponse::text("text/html", uploadPage(R"({"code":"A20003","data":{}})"));
    }
    if (!QRegularExpression(QStringLiteral("^===[0-9]+000===$")).match(QString::fromLatin1(boundary)).hasMatch())
        problem(QStringLiteral("boundary \"%1\"").arg(QString::fromLatin1(boundary)));
    if (parts.size() != 1 || parts[0].name != QLatin1String("b64_data") || parts[0].hasFileName)
        problem(QStringLiteral("upload parts: %1").arg(parts.size()));
    // The session: " SUB=VALUE" as the login handed it out.
    const QByteArray cookie = request.header("Cookie");
    const QString sub = QString::fromLatin1(cookie).trimmed().section(QLatin1Char('='), 1);
    if ((!cookie.startsWith(" SUB=") && !cookie.startsWith("SUB=")) || !validSubs.contains(sub))
        return StandInResponse::text("text/html", uploadPage(R"({"code":"A20001","data":{}})"));
    const QByteArray image = QByteArray::fromBase64(parts.value(0).data);
    const bool isImage = image.startsWith("\x89PNG") || image.startsWith("\xff\xd8\xff") || image.startsWith("GIF8");
    if (!isImage)
        return StandInResponse::text("text/html", uploadPage(R"({"code":"A20005","data":{"count":-1}})"));
    images.append(image);
    const QJsonObject pic{{QStringLiteral("width"), 640}, {QStringLiteral("size"), image.size()}, {QStringLiteral("ret"), 1}, {QStringLiteral("height"), 480}, {QStringLiteral("name"), QStringLiteral("pic_1")}, {QStringLiteral("pid"), pid}};
    const QJsonObject answer{{QStringLiteral("code"), QStringLiteral("A00006")},
                             {QStringLiteral("data"), QJsonObject{{QStringLiteral("count"), 1}, {QStringLiteral("pics"), QJsonObject{{QStringLiteral("pic_1"), pic}}}}}};
    return StandInResponse::text("text/html", uploadPage(QJsonDocument(answer).toJson(QJsonDocument::Compact)));
}
