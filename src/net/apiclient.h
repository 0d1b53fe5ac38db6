#pragma once

#include "net/uploadcallbacks.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

#include <functional>

// The requests the actions make to outside services: the product's own API (translation,
// OCR token, version), Tencent image recognition, Tencent COS, the Sina login and the Weibo
// picture upload, plus LibreTranslate for translation without the product's service.
//
// Every operation calls its completion exactly once, on the main thread, never from inside
// the call. The message is set only when the request did not reach the server or failed in
// transport (the "Can not connect to the server" text), or where an operation says otherwise;
// an unexpected answer gives failure with a null message.
class ApiClient final
{
public:
    ApiClient() = delete;

    using ResultCompletion = std::function<void(bool success, const QVariant &result, const QString &message)>;
    using FlagCompletion = std::function<void(bool success, const QString &message)>;

    // Which service translation uses: LibreTranslate when Korvane::Settings::libreTranslateUrl is
    // set, else the product's service when Korvane::Settings::serviceHost is set, else none.
    enum class TranslationService { None,
                                    Service,
                                    LibreTranslate };
    static TranslationService translationService();
    // A sentence for the translation panel: which service translation will use.
    static QString translationServiceDescription();
    // The target codes, by the translate action's language index.
    static QStringList translateLanguages();
    // The LibreTranslate code of one of those ("jp" is "ja", "kr" is "ko").
    static QString libreTranslateLanguage(const QString &code);

    // The product's service. Result: the translated text (QString).
    static void translate(const QString &text, const QString &withTargetLanguage, const ResultCompletion &completion);
    // LibreTranslate's "/translate" under the configured base URL. Result: the translated text.
    // An answer with an error status fails with the server's "error" text as message.
    static void libreTranslate(const QString &text, const QString &withTargetLanguage, const ResultCompletion &completion);

    // Result: the OCR token (QString).
    static void getOCRToken(const ResultCompletion &completion);
    // Text recognition. Result: the lines (QStringList), or null when none were found.
    static void parseHandwriting(const QString &token, const QString &withImgFile, const QByteArray &orSourceFileData,
                                 const ResultCompletion &completion);
    static void parseHandwriting(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion);
    static void parseGeneral(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion);
    static void parseGeneral(const QString &token, const QString &withImgFile, const ResultCompletion &completion);
    // Result: one BankCardModel.
    static void parseBankCard(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion);
    static void parseBankCard(const QString &token, const QString &withImgFile, const ResultCompletion &completion);
    // Result: one BusinessLicenseModel.
    static void parseBizlicense(const QString &token, const QUrl &withImgUrl, const ResultCompletion &completion);
    static void parseBizlicense(const QString &token, const QString &withImgFile, const ResultCompletion &completion);
    // withType 0 front, 1 back. Result: a QVariantList of IdCardFrontModel or IdCardBackModel.
    static void parseIdCard(const QString &token, const QList<QUrl> &withImgUrlArray, qint32 withType,
                            const ResultCompletion &completion);
    static void parseIdCard(const QString &token, const QStringList &withImgFiles, qint32 withType,
                            const ResultCompletion &completion);
    // Result: a QVariantList of BusinessCardModel.
    static void parseBusinessCard(const QString &token, const QList<QUrl> &withImgUrlArray,
                                  const ResultCompletion &completion);
    static void parseBusinessCard(const QString &token, const QStringList &withImgFiles,
                                  const ResultCompletion &completion);

    // Result: the latest version text.
    static void getAppVersion(const ResultCompletion &completion);

    // Result: the bucket's base URL (plain http). A message only when the lookup got no answer or a
    // server error.
    static void getQCloudBucketDetail(const QString &secretKey, const QString &withAccessKey, const QString &withBucket,
                                      const ResultCompletion &completion);
    // Stored only with status 200; the outcome's message as that of a completion.
    static void uploadToQCloudCos(const QString &secretKey, const QString &withAccessKey, const QString &withHost,
                                  const QString &withFilePath, const QString &withKey, const UploadCallbacks &completion);

    // Reuses a session cookie younger than five minutes without a request.
    static void weiboLogin(const QString &account, const QString &withPassword, const FlagCompletion &completion);
    // imageData: the image's Base64 text as UTF-8 bytes. The outcome's answer: the image's URL.
    // A session that is no longer valid fails with the message "cookie失效".
    static void weiboUploadImg(const QByteArray &imageData, const UploadCallbacks &completion);

    // Build constants and settings.
    static QString ocrAppId();
    static QString weiboUserAgent();
    static QString currentVersion();
    static QString bundleIdentifier() { return QStringLiteral("com.tarnwel.korvane"); }
    // The localised transport-failure message.
    static QString cannotConnectMessage();
    // A Set-Cookie piece as logged: cookie values replaced by "<redacted>".
    static QString redactedCookie(const QString &piece);
};
