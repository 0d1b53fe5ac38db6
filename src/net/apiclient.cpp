#include "net/apiclient.h"

#include "net/korvanecardmodels.h"
#include "net/servicehosts.h"
#include "common/logtext.h"
#include "net/networkclient.h"
#include "platform/settings.h"
#include "net/cos/cosclient.h"
#include "net/netlogging.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QRegularExpression>

namespace {

using ResultCompletion = ApiClient::ResultCompletion;
using FlagCompletion = ApiClient::FlagCompletion;

// For answers that need no request: still on the main thread, still after the call returns.
void later(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

void completeLater(const ResultCompletion &completion, bool success, const QVariant &result, const QString &message)
{
    if (completion)
        later([=] { completion(success, result, message); });
}

void call(const ResultCompletion &completion, bool success, const QVariant &result = QVariant(),
          const QString &message = QString())
{
    if (completion)
        completion(success, result, message);
}

void call(const FlagCompletion &completion, bool success, const QString &message = QString())
{
    if (completion)
        completion(success, message);
}

void call(const UploadCallbacks &callbacks, bool stored, int status, const QVariant &answer = QVariant(),
          const QString &message = QString())
{
    UploadCallbacks::Outcome outcome;
    outcome.stored = stored;
    outcome.status = status;
    outcome.message = message;
    outcome.answer = answer;
    if (callbacks.done)
        callbacks.done(outcome);
}

// What an answer's field holds, with the forgiveness of a missing field: absent reads as
// null, a number as itself, a numeric text as its number.
QVariant field(const QVariant &object, const QString &key)
{
    return object.toMap().value(key);
}

qint64 integerOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString().trimmed().toLongLong();
    return value.toLongLong();
}

// A field read as text: absent stays null, so records keep absent strings absent.
QString textOf(const QVariant &value)
{
    return value.isValid() && !value.isNull() ? value.toString() : QString();
}

bool isServiceConfigured(const ResultCompletion &completion)
{
    if (!ServiceHosts::service().isEmpty())
        return true;
    qCWarning(lcApi, "no request: the setting %s is empty", qUtf8Printable(Korvane::Settings::serviceHost.key()));
    completeLater(completion, false, QVariant(), qtTrId("serviceNotConfigured"));
    return false;
}

// The service's answers: "code" 200 gives "data"."FIELD".
void serviceGet(const QString &path, const QVariantMap &parameters, const QString &resultField,
                const ResultCompletion &completion)
{
    if (!isServiceConfigured(completion))
        return;
    NetworkClient::sharedClient()->getPath(
        ServiceHosts::service() + path, parameters, QString(),
        [completion, resultField](const QVariant &object, const QVariantMap &) {
            if (integerOf(field(object, QStringLiteral("code"))) == 200)
                call(completion, true, field(field(object, QStringLiteral("data")), resultField));
            else
                call(completion, false);
        },
        [completion](const HttpError &) { call(completion, false, QVariant(), ApiClient::cannotConnectMessage()); });
}

QString ocrUrl(const QString &path)
{
    return ServiceHosts::ocr() + path;
}

QVariantMap ocrHeaders(const QString &token, bool json)
{
    QVariantMap headers{{QStringLiteral("Authorization"), token}};
    if (json)
        headers.insert(QStringLiteral("Content-Type"), QStringLiteral("application/json"));
    return headers;
}

FormPart imageFilePart(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    return FormPart::fileData(QStringLiteral("image"), *ok ? file.readAll() : QByteArray(),
                              QFileInfo(path).fileName(), type);
}

using Reader = std::function<void(const QVariant &object, const ResultCompletion &completion)>;

// The same answer handling for both ways of sending an image.
void recogniseByUrl(const QString &path, const QString &token, const QVariantMap &body, const Reader &reader,
                    const ResultCompletion &completion)
{
    QVariantMap fields = body;
    fields.insert(QStringLiteral("appid"), ApiClient::ocrAppId());
    NetworkClient::sharedClient()->postJson(
        ocrUrl(path), ocrHeaders(token, true), fields,
        [reader, completion](const QVariant &object, const QVariantMap &) {
            qCInfo(lcApi, "responsBody data:%s",
                   qUtf8Printable(LogText::summary(QJsonDocument::fromVariant(object).toJson(QJsonDocument::Compact), lcApi())));
            reader(object, completion);
        },
        [completion](const HttpError &) { call(completion, false, QVariant(), ApiClient::cannotConnectMessage()); },
        AnswerLimits::resultAnswer);
}

void recogniseByFiles(const QString &path, const QString &token, const QList<FormPart> &fields,
                      const QList<FormPart> &images, const Reader &reader, const ResultCompletion &completion)
{
    QList<FormPart> parts{FormPart::field(QStringLiteral("appid"), ApiClient::ocrAppId())};
    parts += fields;
    parts += images;
    NetworkClient::sharedClient()->postMultiPartForm(
        ocrUrl(path), ocrHeaders(token, false), parts,
        [reader, completion](const QVariant &object, const QVariantMap &) { reader(object, completion); },
        [completion](const HttpError &) { call(completion, false, QVariant(), ApiClient::cannotConnectMessage()); },
        AnswerLimits::resultAnswer);
}

// The parts of the listed image files; false (and the completion called later) when one
// cannot be read.
bool filesParts(const QStringList &paths, QList<FormPart> *parts, const ResultCompletion &completion)
{
    for (const QString &path : paths) {
        bool ok = false;
        parts->append(imageFilePart(path, &ok));
        if (!ok) {
            qCWarning(lcApi, "cannot read the image %s", qUtf8Printable(LogText::summary(path, lcApi())));
            completeLater(completion, false, QVariant(), QString());
            return false;
        }
    }
    return true;
}

void readTextLines(const QVariant &object, const ResultCompletion &completion)
{
    if (integerOf(field(object, QStringLiteral("code"))) != 0) {
        call(completion, false);
        return;
    }
    const QVariantList items = field(field(object, QStringLiteral("data")), QStringLiteral("items")).toList();
    if (items.isEmpty()) {
        call(completion, true);
        return;
    }
    QStringList lines;
    for (const QVariant &item : items)
        lines.append(field(item, QStringLiteral("itemstring")).toString());
    call(completion, true, lines);
}

// Each "data"."items" entry's "itemstring" under its "item" label.
QHash<QString, QString> labelledItems(const QVariant &object)
{
    QHash<QString, QString> values;
    for (const QVariant &item : field(field(object, QStringLiteral("data")), QStringLiteral("items")).toList()) {
        const QString label = field(item, QStringLiteral("item")).toString();
        if (!values.contains(label))
            values.insert(label, textOf(field(item, QStringLiteral("itemstring"))));
    }
    return values;
}

void readBankCard(const QVariant &object, const ResultCompletion &completion)
{
    if (integerOf(field(object, QStringLiteral("code"))) != 0) {
        call(completion, false);
        return;
    }
    const QHash<QString, QString> items = labelledItems(object);
    BankCardModel card;
    card.number = items.value(QStringLiteral("卡号"));
    card.type = items.value(QStringLiteral("卡类型"));
    card.cardName = items.value(QStringLiteral("卡名字"));
    card.bankName = items.value(QStringLiteral("银行信息"));
    card.expire = items.value(QStringLiteral("有效期"));
    call(completion, true, QVariant::fromValue(card));
}

void readBizlicense(const QVariant &object, const ResultCompletion &completion, bool readConstitute)
{
    if (integerOf(field(object, QStringLiteral("code"))) != 0) {
        call(completion, false);
        return;
    }
    const QHash<QString, QString> items = labelledItems(object);
    BusinessLicenseModel licence;
    licence.number = items.value(QStringLiteral("注册号"));
    licence.representative = items.value(QStringLiteral("法定代表人"));
    licence.company = items.value(QStringLiteral("公司名称"));
    licence.address = items.value(QStringLiteral("地址"));
    licence.expire = items.value(QStringLiteral("营业期限"));
    licence.capital = items.value(QStringLiteral("注册资本"));
    licence.scope = items.value(QStringLiteral("经营范围"));
    licence.type = items.value(QStringLiteral("主体类型"));
    if (readConstitute)
        licence.constitute = items.value(QStringLiteral("组成形式"));
    call(completion, true, QVariant::fromValue(licence));
}

void readIdCards(const QVariant &object, qint32 side, const ResultCompletion &completion)
{
    const QVariantList entries = field(object, QStringLiteral("result_list")).toList();
    if (entries.isEmpty()) {
        call(completion, false);
        return;
    }
    QVariantList records;
    for (const QVariant &entry : entries) {
        const qint64 code = integerOf(field(entry, QStringLiteral("code")));
        const QVariant data = field(entry, QStringLiteral("data"));
        const auto text = [&](const char *key) { return textOf(field(data, QString::fromLatin1(key))); };
        if (side == 0) {
            IdCardFrontModel front;
            front.code = code;
            front.fileName = textOf(field(entry, QStringLiteral("filename")));
            front.url = textOf(field(entry, QStringLiteral("url")));
            if (code == 0) {
                front.name = text("name");
                front.sex = text("sex");
                front.nation = text("nation");
                front.birth = text("birth");
                front.address = text("address");
                front.cardId = text("id");
            }
            records.append(QVariant::fromValue(front));
        } else {
            IdCardBackModel back;
            back.code = code;
            back.fileName = textOf(field(entry, QStringLiteral("filename")));
            back.url = textOf(field(entry, QStringLiteral("url")));
            if (code == 0) {
                back.authority = text("authority");
                back.validDate = text("valid_date");
            }
            records.append(QVariant::fromValue(back));
        }
    }
    call(completion, true, records);
}

void readBusinessCards(const QVariant &object, const ResultCompletion &completion)
{
    const QVariantList entries = field(object, QStringLiteral("result_list")).toList();
    if (entries.isEmpty()) {
        call(completion, false);
        return;
    }
    QVariantList records;
    for (const QVariant &entry : entries) {
        BusinessCardModel card;
        card.code = integerOf(field(entry, QStringLiteral("code")));
        card.fileName = textOf(field(entry, QStringLiteral("filename")));
        card.url = textOf(field(entry, QStringLiteral("url")));
        if (card.code == 0) {
            const std::pair<const char16_t *, QString BusinessCardModel::*> labels[] = {
                {u"姓名", &BusinessCardModel::realNameZh},
                {u"英文姓名", &BusinessCardModel::realNameEn},
                {u"职位", &BusinessCardModel::positionZh},
                {u"英文职位", &BusinessCardModel::positionEn},
                {u"部门", &BusinessCardModel::sectionZh},
                {u"英文部门", &BusinessCardModel::sectionEn},
                {u"公司", &BusinessCardModel::companyZh},
                {u"英文公司", &BusinessCardModel::companyEn},
                {u"地址", &BusinessCardModel::addressZh},
                {u"英文地址", &BusinessCardModel::addressEn},
                {u"邮箱", &BusinessCardModel::email},
                {u"手机", &BusinessCardModel::mobile},
                {u"电话", &BusinessCardModel::phone},
                {u"传真", &BusinessCardModel::fax},
                {u"QQ", &BusinessCardModel::qq},
            };
            for (const QVariant &item : field(entry, QStringLiteral("data")).toList()) {
                const QString label = field(item, QStringLiteral("item")).toString();
                for (const auto &[name, member] : labels) {
                    if (label == QString::fromUtf16(name)) {
                        card.*member = textOf(field(item, QStringLiteral("value")));
                        break;
                    }
                }
            }
        }
        records.append(QVariant::fromValue(card));
    }
    call(completion, true, records);
}

QStringList urlTexts(const QList<QUrl> &urls)
{
    QStringList texts;
    for (const QUrl &url : urls)
        texts.append(url.toString(QUrl::FullyEncoded));
    return texts;
}

} // namespace

QString ApiClient::cannotConnectMessage()
{
    return qtTrId("Can not connect to the server");
}

QString ApiClient::ocrAppId()
{
    return Korvane::Settings::ocrAppId.read();
}

QString ApiClient::weiboUserAgent()
{
    return QStringLiteral("Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) "
                          "Chrome/67.0.3396.79 Safari/537.36");
}

QString ApiClient::currentVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("0.0.0") : version;
}

QString ApiClient::redactedCookie(const QString &piece)
{
    static const QRegularExpression pair(QStringLiteral("([^\\s,=]+)=([^,]*)"));
    static const QStringList attributes{QStringLiteral("path"), QStringLiteral("domain"), QStringLiteral("expires"),
                                        QStringLiteral("max-age"), QStringLiteral("samesite")};
    QString result;
    qsizetype last = 0;
    for (auto it = pair.globalMatch(piece); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += piece.mid(last, match.capturedStart(2) - last);
        // An "expires" date holds a comma: only the first word is the attribute's. A
        // cookie's value may hold commas too: all of the rest of the piece is its.
        if (!attributes.contains(match.captured(1).toLower()))
            return result + QStringLiteral("<redacted>");
        result += match.captured(2);
        last = match.capturedEnd(2);
    }
    result += piece.mid(last);
    return result;
}

QStringList ApiClient::translateLanguages()
{
    return {QStringLiteral("zh"), QStringLiteral("en"), QStringLiteral("jp"),
            QStringLiteral("kr"), QStringLiteral("de"), QStringLiteral("fr")};
}

QString ApiClient::libreTranslateLanguage(const QString &code)
{
    if (code == QLatin1String("jp"))
        return QStringLiteral("ja");
    if (code == QLatin1String("kr"))
        return QStringLiteral("ko");
    return code;
}

ApiClient::TranslationService ApiClient::translationService()
{
    if (!Korvane::Settings::libreTranslateUrl.read().trimmed().isEmpty())
        return TranslationService::LibreTranslate;
    if (!ServiceHosts::service().isEmpty())
        return TranslationService::Service;
    return TranslationService::None;
}

QString ApiClient::translationServiceDescription()
{
    switch (translationService()) {
    case TranslationService::LibreTranslate:
        return qtTrId("translateServiceLibre").arg(Korvane::Settings::libreTranslateUrl.read().trimmed());
    case TranslationService::Service:
        return qtTrId("translateServiceOwn").arg(ServiceHosts::service());
    case TranslationService::None:
        break;
    }
    return qtTrId("translateServiceNone");
}

void ApiClient::translate(const QString &text, const QString &withTargetLanguage, const ResultCompletion &completion)
{
    if (!isServiceConfigured(completion))
        return;
    qCInfo(lcApi, "targetLanguage--%s", qUtf8Printable(withTargetLanguage));
    NetworkClient::sharedClient()->postPath(
        ServiceHosts::service() + QLatin1String("/quorvix/api/translate"),
        {{QStringLiteral("Content-Type"), QStringLiteral("application/x-www-form-urlencoded;charset=UTF-8")}},
        {{QStringLiteral("sourceText"), text}, {QStringLiteral("targetLanguage"), withTargetLanguage}},
        [completion](const QVariant &object, const QVariantMap &) {
            if (integerOf(field(object, QStringLiteral("code"))) == 200)
                call(completion, true, field(field(object, QStringLiteral("data")), QStringLiteral("targetText")));
            else
                call(completion, false);
        },
        [completion](const HttpError &) { call(completion, false, QVariant(), cannotConnectMessage()); },
        AnswerLimits::resultAnswer);
}

void ApiClient::libreTranslate(const QString &text, const QString &withTargetLanguage,
                               const ResultCompletion &completion)
{
    QString base = Korvane::Settings::libreTranslateUrl.read().trimmed();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    if (base.isEmpty()) {
        completeLater(completion, false, QVariant(), qtTrId("translateNotConfigured"));
        return;
    }
    QVariantMap body{
        {QStringLiteral("q"), text},
        {QStringLiteral("source"), QStringLiteral("auto")},
        {QStringLiteral("target"), libreTranslateLanguage(withTargetLanguage)},
        {QStringLiteral("format"), QStringLiteral("text")},
    };
    const QString apiKey = Korvane::Settings::libreTranslateKey.read();
    if (!apiKey.isEmpty())
        body.insert(QStringLiteral("api_key"), apiKey);
    qCInfo(lcApi, "targetLanguage--%s", qUtf8Printable(withTargetLanguage));
    NetworkClient::sharedClient()->postJson(
        base + QLatin1String("/translate"), {{QStringLiteral("Content-Type"), QStringLiteral("application/json")}}, body,
        [completion](const QVariant &object, const QVariantMap &) {
            const QVariant translated = field(object, QStringLiteral("translatedText"));
            if (translated.typeId() == QMetaType::QString)
                call(completion, true, translated);
            else
                call(completion, false);
        },
        [completion](const HttpError &error) {
            // LibreTranslate says why it refused ("Invalid API key", a language it lacks): that
            // tells the user more than a failed connection would.
            const QString reason = field(NetworkClient::jsonObject(error.body), QStringLiteral("error")).toString();
            if (error.kind == HttpError::HttpStatus && !reason.isEmpty())
                call(completion, false, QVariant(), qtTrId("libreTranslateRefused").arg(reason));
            else
                call(completion, false, QVariant(), cannotConnectMessage());
        },
        AnswerLimits::resultAnswer);
}

void ApiClient::getOCRToken(const ResultCompletion &completion)
{
    serviceGet(QStringLiteral("/quorvix/api/ocr/token"), {}, QStringLiteral("token"), completion);
}

void ApiClient::getAppVersion(const ResultCompletion &completion)
{
    serviceGet(QStringLiteral("/quorvix/api/app/get"),
               {{QStringLiteral("version"), currentVersion()}, {QStringLiteral("identifier"), bundleIdentifier()}},
               QStringLiteral("version"), completion);
}

void ApiClient::parseHandwriting(const QString &token, const QString &withImgFile,
                                 const QByteArray &orSourceFileData, const ResultCompletion &completion)
{
    QList<FormPart> images;
    if (!withImgFile.isEmpty()) {
        if (!filesParts({withImgFile}, &images, completion))
            return;
    } else if (!orSourceFileData.isEmpty()) {
        images.append(FormPart::fileData(QStringLiteral("image"), orSourceFileData, QString(), QString()));
    }
    recogniseByFiles(QStringLiteral("/ocr/handwriting"), token, {}, images, readTextLines, completion);
}

void ApiClient::parseHandwriting(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion)
{
    recogniseByUrl(QStringLiteral("/ocr/handwriting"), token, {{QStringLiteral("url"), withImgUrl.toString(QUrl::FullyEncoded)}},
                   readTextLines, completion);
}

void ApiClient::parseGeneral(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion)
{
    recogniseByUrl(QStringLiteral("/ocr/general"), token, {{QStringLiteral("url"), withImgUrl.toString(QUrl::FullyEncoded)}},
                   readTextLines, completion);
}

void ApiClient::parseGeneral(const QString &token, const QString &withImgFile, const ResultCompletion &completion)
{
    QList<FormPart> images;
    if (filesParts({withImgFile}, &images, completion))
        recogniseByFiles(QStringLiteral("/ocr/general"), token, {}, images, readTextLines, completion);
}

void ApiClient::parseBankCard(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion)
{
    recogniseByUrl(QStringLiteral("/ocr/bankcard"), token, {{QStringLiteral("url"), withImgUrl.toString(QUrl::FullyEncoded)}},
                   readBankCard, completion);
}

void ApiClient::parseBankCard(const QString &token, const QString &withImgFile, const ResultCompletion &completion)
{
    QList<FormPart> images;
    if (filesParts({withImgFile}, &images, completion))
        recogniseByFiles(QStringLiteral("/ocr/bankcard"), token, {}, images, readBankCard, completion);
}

void ApiClient::parseBizlicense(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion)
{
    recogniseByUrl(
        QStringLiteral("/ocr/bizlicense"), token, {{QStringLiteral("url"), withImgUrl.toString(QUrl::FullyEncoded)}},
        [](const QVariant &object, const ResultCompletion &done) { readBizlicense(object, done, true); },
        completion);
}

void ApiClient::parseBizlicense(const QString &token, const QString &withImgFile, const ResultCompletion &completion)
{
    QList<FormPart> images;
    if (filesParts({withImgFile}, &images, completion))
        recogniseByFiles(
            QStringLiteral("/ocr/bizlicense"), token, {}, images,
            [](const QVariant &object, const ResultCompletion &done) { readBizlicense(object, done, false); },
            completion);
}

void ApiClient::parseIdCard(const QString &token, const QList<QUrl> &withImgUrlArray, qint32 withType,
                            const ResultCompletion &completion)
{
    recogniseByUrl(
        QStringLiteral("/ocr/idcard"), token,
        {{QStringLiteral("url_list"), urlTexts(withImgUrlArray)}, {QStringLiteral("card_type"), withType}},
        [withType](const QVariant &object, const ResultCompletion &done) { readIdCards(object, withType, done); },
        completion);
}

void ApiClient::parseIdCard(const QString &token, const QStringList &withImgFiles, qint32 withType,
                            const ResultCompletion &completion)
{
    QList<FormPart> images;
    if (filesParts(withImgFiles, &images, completion))
        recogniseByFiles(
            QStringLiteral("/ocr/idcard"), token,
            {FormPart::field(QStringLiteral("card_type"), QString::number(withType))}, images,
            [withType](const QVariant &object, const ResultCompletion &done) { readIdCards(object, withType, done); },
            completion);
}

void ApiClient::parseBusinessCard(const QString &token, const QList<QUrl> &withImgUrlArray,
                                  const ResultCompletion &completion)
{
    recogniseByUrl(QStringLiteral("/ocr/businesscard"), token, {{QStringLiteral("url_list"), urlTexts(withImgUrlArray)}},
                   readBusinessCards, completion);
}

void ApiClient::parseBusinessCard(const QString &token, const QStringList &withImgFiles,
                                  const ResultCompletion &completion)
{
    QList<FormPart> images;
    if (filesParts(withImgFiles, &images, completion))
        recogniseByFiles(QStringLiteral("/ocr/businesscard"), token, {}, images, readBusinessCards, completion);
}

void ApiClient::getQCloudBucketDetail(const QString &secretKey, const QString &withAccessKey,
                                      const QString &withBucket, const ResultCompletion &completion)
{
    const QString sign = CosClient::cosSign(secretKey, withAccessKey, QStringLiteral("get"), QStringLiteral("/"));
    NetworkClient::sharedClient()->getPath(
        ServiceHosts::cosServiceUrl(), {}, sign,
        [completion, withBucket](const QVariant &object, const QVariantMap &) {
            const QVariantMap root = object.toMap();
            if (!root.contains(QStringLiteral("ListAllMyBucketsResult"))) {
                call(completion, false);
                return;
            }
            const QVariant found = field(field(root.value(QStringLiteral("ListAllMyBucketsResult")), QStringLiteral("Buckets")),
                                         QStringLiteral("Bucket"));
            const QVariantList buckets = found.typeId() == QMetaType::QVariantList ? found.toList() : QVariantList{found};
            for (const QVariant &bucket : buckets) {
                const QString name = field(field(bucket, QStringLiteral("Name")), QStringLiteral("text")).toString();
                if (!name.startsWith(withBucket + QLatin1Char('-')))
                    continue;
                const QString region = field(field(bucket, QStringLiteral("Location")), QStringLiteral("text")).toString();
                call(completion, true,
                     ServiceHosts::bucketBaseUrl(ServiceHosts::cosDomain(), QStringLiteral("%1.cos.%2").arg(name, region),
                                                 name, QStringLiteral("http")));
                return;
            }
            call(completion, false);
        },
        // Only a lookup that got no answer, or a server error for one, carries a message; a
        // refusal means the keys or the bucket are wrong.
        [completion](const HttpError &error) {
            if (error.kind == HttpError::Transport || error.httpStatus >= 500)
                call(completion, false, QVariant(), cannotConnectMessage());
            else
                call(completion, false);
        });
}

void ApiClient::uploadToQCloudCos(const QString &secretKey, const QString &withAccessKey, const QString &withHost,
                                  const QString &withFilePath, const QString &withKey,
                                  const UploadCallbacks &completion)
{
    const QString objectPath = QLatin1Char('/') + withKey;
    const QString sign = CosClient::cosSign(secretKey, withAccessKey, QStringLiteral("put"), objectPath);
    if (!QFileInfo(withFilePath).isReadable()) {
        qCWarning(lcApi, "cannot read the file to upload: %s",
                  qUtf8Printable(LogText::summary(withFilePath, lcApi())));
        later([completion] { call(completion, false, 0); });
        return;
    }
    // Streamed from disk: a large video never sits in memory whole.
    NetworkClient::sharedClient()->putFile(
        withHost + objectPath, sign, withFilePath, [completion](int status) { call(completion, status == 200, status); },
        [completion](const HttpError &error) {
            call(completion, false, error.httpStatus, QVariant(), cannotConnectMessage());
        },
        completion.progress);
}

void ApiClient::weiboLogin(const QString &account, const QString &withPassword, const FlagCompletion &completion)
{
    const QString cookie = Korvane::Settings::weiboCookie.read();
    const QDateTime expire = Korvane::Settings::weiboCookieExpire.read();
    if (!cookie.isEmpty() && expire.isValid() && expire > QDateTime::currentDateTime()) {
        if (completion)
            later([completion] { completion(true, QString()); });
        return;
    }

    const QVariantMap headers{
        {QStringLiteral("Referer"), ServiceHosts::weiboHome() + QLatin1Char('/')},
        {QStringLiteral("User-Agent"), weiboUserAgent()},
        {QStringLiteral("Content-Type"), QStringLiteral("application/x-www-form-urlencoded")},
        {QStringLiteral("Accept"), QStringLiteral("text/html,application/xhtml+xm\u2026plication/xml;q=0.9,*/*;q=0.8")},
        {QStringLiteral("Accept-Encoding"), QStringLiteral("deflate, br")},
        {QStringLiteral("Accept-Language"), QStringLiteral("zh-CN,zh;q=0.8,zh-TW;q=0.7,zh-HK;q=0.5,en-US;q=0.3,en;q=0.2")},
    };
    const QVariantMap form{
        {QStringLiteral("vsnf"), QStringLiteral("1")},
        {QStringLiteral("su"), QString::fromLatin1(account.toUtf8().toBase64())},
        {QStringLiteral("savestate"), QStringLiteral("30")},
        {QStringLiteral("returntype"), QStringLiteral("TEXT")},
        {QStringLiteral("encoding"), QStringLiteral("UTF-8")},
        {QStringLiteral("entry"), QStringLiteral("sso")},
        {QStringLiteral("prelt"), QStringLiteral("0")},
        {QStringLiteral("service"), QStringLiteral("sso")},
        {QStringLiteral("domain"), QStringLiteral("sina.com.cn")},
        {QStringLiteral("useticket"), QStringLiteral("0")},
        {QStringLiteral("from"), QStringLiteral("null")},
        {QStringLiteral("sp"), withPassword},
        {QStringLiteral("gateway"), QStringLiteral("1")},
        {QStringLiteral("cdult"), QStringLiteral("3")},
        {QStringLiteral("sr"), QStringLiteral("1024*768")},
    };
    NetworkClient::sharedClient()->postPath(
        ServiceHosts::sinaLogin() + QLatin1String("/sso/login.php"), headers, form,
        [completion](const QVariant &object, const QVariantMap &responseHeaders) {
            if (field(object, QStringLiteral("retcode")).toString() != QLatin1String("0")) {
                call(completion, false);
                return;
            }
            const QString setCookie = NetworkClient::headerValue(responseHeaders, QStringLiteral("Set-Cookie"));
            const QStringList pieces = setCookie.split(QLatin1Char(';'));
            for (const QString &piece : pieces)
                qCInfo(lcApi, "%s", qUtf8Printable(redactedCookie(piece)));
            for (const QString &piece : pieces) {
                if (!piece.startsWith(QLatin1String(" Httponly, SUB=")))
                    continue;
                const QStringList parts = piece.split(QLatin1Char(','));
                Korvane::Settings::weiboCookie.write(parts.value(1));
                Korvane::Settings::weiboCookieExpire.write(QDateTime::currentDateTime().addSecs(300));
                break;
            }
            call(completion, true);
        },
        [completion](const HttpError &) { call(completion, false, cannotConnectMessage()); });
}

void ApiClient::weiboUploadImg(const QByteArray &imageData, const UploadCallbacks &completion)
{
    QVariantMap headers{
        {QStringLiteral("Referer"), ServiceHosts::weiboHome() + QLatin1Char('/')},
        {QStringLiteral("Accept"), QStringLiteral("text/html, image/gif, image/jpeg, *; q=.2, */*; q=.2")},
    };
    const QString cookie = Korvane::Settings::weiboCookie.read();
    if (!cookie.isEmpty())
        headers.insert(QStringLiteral("Cookie"), cookie);
    NetworkClient::sharedClient()->postMultiPart(
        ServiceHosts::weiboUpload()
            + QLatin1String("/interface/pic_upload.php?ori=1&mime=image%2Fjpeg&data=base64&url=0&markpos=1&logo=&nick=0&marks=1&app=miniblog"),
        headers, imageData,
        [completion](const QVariant &object, const QVariantMap &) {
            const QString code = field(object, QStringLiteral("code")).toString();
            if (code == QLatin1String("A00006")) {
                const QString pid = field(field(field(field(object, QStringLiteral("data")), QStringLiteral("pics")),
                                                QStringLiteral("pic_1")),
                                          QStringLiteral("pid"))
                                        .toString();
                call(completion, true, 0, QStringLiteral("%1/large/%2.jpg").arg(ServiceHosts::weiboImage(), pid));
            } else if (code == QLatin1String("A20001")) {
                call(completion, false, 0, QVariant(), QStringLiteral("cookie失效"));
            } else {
                call(completion, false, 0);
            }
        },
        [completion](const HttpError &error) {
            call(completion, false, error.httpStatus, QVariant(), cannotConnectMessage());
        });
}
