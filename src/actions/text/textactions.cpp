#include "actions/text/textactions.h"

#include "store/customurl.h"
#include "store/droplistentity.h"
#include "intake/actioncatalog.h"
#include "intake/droppayload.h"
#include "actions/outputnaming.h"
#include "common/logtext.h"
#include "platform/platform.h"
#include "platform/urlopener.h"
#include "actions/text/chineseconverter.h"
#include "actions/share/shareservice.h"
#include "actions/share/shareactions.h"
#include "actions/text/texttransforms.h"
#include "actions/file/filemanager.h"
#include "actions/networkservices.h"
#include "net/networkoperations.h"
#include "store/translatesettings.h"
#include "store/capitalamountsettings.h"
#include "store/charactercountsettings.h"
#include "store/customurlsettings.h"
#include "store/chinesescriptsettings.h"
#include "store/lettercasesettings.h"
#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QIODevice>
#include <QLocale>
#include <QLoggingCategory>
#include <QStringDecoder>
#include <QTimer>

#include <cmath>

namespace {

using DropPtr = TextActions::DropPtr;

QString flattened(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

void notify(const ActionReply &reply, bool success, const DropListEntity &drop, const QString &body)
{
    Notification content = ActionReply::resultNotification(success, drop);
    content.body = body;
    reply.notify(content);
}

} // namespace

void TextActions::translate(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const NetworkOperations *network = NetworkServices::operations();
    if (!network) {
        const QString message = qtTrId("CanNotConnectToServer");
        Korvane::finishOnMain(reply, false, Korvane::Error(-1001, message));
        notify(reply, false, *drop, message);
        return;
    }
    const QStringList languages = network->translateLanguages();
    const auto settings = drop->translateSettings();
    qint64 index = settings ? settings->type() : 0;
    if (index < 0 || index >= languages.size()) {
        // Our choice for a stored index that names no language: the first one, as a new
        // action has it.
        qCWarning(lcTextActions, "translation language %lld is not one of the list; translating to %s",
                  index, qUtf8Printable(languages.first()));
        index = 0;
    }
    const QString target = languages.at(index);

    const ApiClient::TranslationService service = network->translationService();
    if (service == ApiClient::TranslationService::None) {
        const QString message = qtTrId("translateNotConfigured");
        Korvane::finishOnMain(reply, false, Korvane::Error(translateNotConfiguredErrorCode, message));
        notify(reply, false, *drop, message);
        return;
    }

    const auto answered = [drop, reply](bool, const QVariant &result, const QString &message) {
        if (!message.isEmpty()) {
            reply(false, Korvane::Error(-1001, qtTrId("CanNotConnectToServer")));
            notify(reply, false, *drop, message);
            return;
        }
        const QString translated = result.toString();
        if (!translated.isEmpty()) {
            reply.copyText(translated);
            notify(reply, true, *drop, flattened(translated));
            reply(true, Korvane::Error());
            return;
        }
        reply(false, Korvane::Error(7001, qtTrId("TranslateFailed")));
        notify(reply, false, *drop, qtTrId("TranslateFailed"));
    };
    if (service == ApiClient::TranslationService::LibreTranslate)
        network->libreTranslate(payload.textString(), target, answered);
    else
        network->translate(payload.textString(), target, answered);
}

void TextActions::clearFormat(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    // The text alone, without the formats it came with, is the result.
    const QString plain = payload.textString();
    reply.copyText(plain);
    notify(reply, true, *drop, flattened(plain));
}

void TextActions::countCharacters(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const QHash<QString, qint64> statistics = TextTransforms::characterStatistics(payload.textString());
    const auto settings = drop->characterCountSettings();
    QString result;
    if (settings && settings->countTotal())
        result += qtTrId("AllCharactersQty").arg(statistics.value(QStringLiteral("characterNum")));
    if (settings && settings->countLetter())
        result += qtTrId("LettersQty").arg(statistics.value(QStringLiteral("englishNum")));
    if (settings && settings->countEnWord())
        result += qtTrId("EnglishWordsQty").arg(statistics.value(QStringLiteral("englishWordNum")));
    reply.copyText(result);
    notify(reply, true, *drop, result);
}

void TextActions::openCustomUrl(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const auto settings = drop->customUrlSettings();
    const QList<std::shared_ptr<CustomUrl>> urls = settings ? settings->urls() : QList<std::shared_ptr<CustomUrl>>();
    if (urls.isEmpty()) {
        Korvane::finishOnMain(reply, false, Korvane::Error(7004, qtTrId("CustomUrlNotSet")));
        notify(reply, false, *drop, qtTrId("CustomUrlNotSet"));
        return;
    }

    const QString text = payload.textString();
    QString summary;
    QList<QUrl> toOpen;
    QStringList opened;
    for (const auto &record : urls) {
        QString address = record->url();
        address.replace(QLatin1String("{text}"), text);
        summary += address + QLatin1Char(' ');
        // The text goes in unescaped first, so query characters in it act as URL syntax;
        // then the whole address is encoded once.
        const QString encoded = OutputNaming::urlEncoded(address);
        const QUrl url(encoded, QUrl::StrictMode);
        if (!url.isValid() || url.scheme().isEmpty()) {
            qCWarning(lcTextActions, "skipping a custom URL that is not a URL (%s)",
                      qUtf8Printable(LogText::summary(address, lcTextActions())));
            continue;
        }
        toOpen.append(url);
        opened.append(encoded);
    }
    // Our choice for the flag the panel offers: the opened addresses are copied too.
    if (settings->needCopy())
        reply.copyText(opened.join(QLatin1Char('\n')));
    if (toOpen.isEmpty()) {
        notify(reply, true, *drop, summary);
        Korvane::finishOnMain(reply, true);
        return;
    }

    // Each launch reports once; the last one to report finishes the action.
    struct Launches {
        qsizetype waiting = 0;
        QStringList failedSchemes;
    };
    const auto launches = std::make_shared<Launches>();
    launches->waiting = toOpen.size();
    for (const QUrl &url : std::as_const(toOpen)) {
        Platform::urlOpener()->openURL(url, [drop, reply, launches, summary, scheme = url.scheme()](bool ok) {
            if (!ok && !launches->failedSchemes.contains(scheme + QLatin1Char(':')))
                launches->failedSchemes.append(scheme + QLatin1Char(':'));
            if (--launches->waiting > 0)
                return;
            if (launches->failedSchemes.isEmpty()) {
                notify(reply, true, *drop, summary);
                reply(true, Korvane::Error());
                return;
            }
            const QString message = qtTrId("CustomUrlNoHandler").arg(launches->failedSchemes.join(QLatin1String(", ")));
            notify(reply, false, *drop, message);
            reply(false, Korvane::Error(customUrlNotOpenedErrorCode, message));
        });
    }
}

QString TextActions::capitalizedString(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool atWordStart = true;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
            ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
            : char32_t(text.at(i).unicode());
        const qsizetype width = c > 0xffff ? 2 : 1;
        const QString character = text.mid(i, width);
        i += width;
        if (QChar::isSpace(c)) {
            result += character;
            atWordStart = true;
            continue;
        }
        if (atWordStart) {
            const char32_t title = QChar::toTitleCase(c);
            // Letters like "ǆ" have a title case of their own; elsewhere the full upper-case
            // mapping applies ("ß" becomes "SS").
            result += title != QChar::toUpper(c) ? QString::fromUcs4(&title, 1) : character.toUpper();
            atWordStart = false;
        } else {
            result += character.toLower();
        }
    }
    return result;
}

void TextActions::convertLetterCase(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const QString text = payload.textString();
    const bool hasLetter = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c.unicode() & ~0x20) >= 0x41 && (c.unicode() & ~0x20) <= 0x5a;
    });
    if (!hasLetter) {
        notify(reply, false, *drop, qtTrId("noEnLetter"));
        Korvane::finishOnMain(reply, false);
        return;
    }
    const auto settings = drop->letterCaseSettings();
    const int handleType = settings ? settings->handleType() : 0;
    QString result;
    if (handleType == 1)
        result = text.toUpper();
    else if (handleType == 2)
        result = text.toLower();
    else
        result = capitalizedString(text);
    reply.copyText(result);
    Korvane::finishOnMain(reply, true);
    notify(reply, true, *drop, result);
}

namespace {

// The converter's table for the action's conversionType, or -1 for a type that leaves the text
// as it is.
qint32 conversionDict(const DropListEntity &drop)
{
    const auto settings = drop.chineseScriptSettings();
    switch (settings ? settings->conversionType() : -1) {
    case 0:
        return ChineseConverter::CN;
    case 1:
        return ChineseConverter::HK;
    case 2:
        return ChineseConverter::TW;
    default:
        return -1;
    }
}

} // namespace

bool TextActions::isTraditionalConversion(const DropListEntity &drop)
{
    const ActionCatalog::Entry *kind = ActionCatalog::entry(drop.catalog(), drop.type());
    return kind && kind->kind == ActionKind::ChineseScript;
}

void TextActions::convertChinese(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const QString text = payload.textString();
    const qint32 dict = conversionDict(*drop);
    const QString result = dict < 0 ? text : ChineseConverter::sharedInstance().convert(text, dict);
    qCInfo(lcTextActions, "text:%s, convertStr:%s", qUtf8Printable(LogText::summary(text, lcTextActions())),
           qUtf8Printable(LogText::summary(result, lcTextActions())));
    reply.copyText(result);
    notify(reply, true, *drop, flattened(result));
}

bool TextActions::traditionalConversionTextStream(const DropPtr &drop, QIODevice &input, QIODevice &output,
                                                  const ActionReply &reply)
{
    const qint32 dict = conversionDict(*drop);
    QString beginning;
    bool ok = true;
    if (dict >= 0) {
        ok = ChineseConverter::sharedInstance().convert(input, output, dict, 64 * 1024, &beginning);
    } else {
        QByteArray piece(64 * 1024, Qt::Uninitialized);
        QStringDecoder decoder(QStringDecoder::Utf8);
        qint64 read = 0;
        while (ok && (read = input.read(piece.data(), piece.size())) > 0) {
            if (beginning.size() < streamedNotificationLength)
                beginning += decoder(QByteArrayView(piece.constData(), read));
            ok = output.write(piece.constData(), read) == read;
        }
        ok = ok && read == 0;
    }
    if (!ok) {
        const auto *file = qobject_cast<const QFileDevice *>(&output);
        const QString reason = file && file->error() != QFileDevice::NoError ? output.errorString() : input.errorString();
        notify(reply, false, *drop, qtTrId("chineseConversionStopped").arg(reason));
        return false;
    }
    if (beginning.size() > streamedNotificationLength)
        beginning = beginning.left(streamedNotificationLength) + QChar(0x2026);
    notify(reply, true, *drop, flattened(beginning));
    return true;
}

void TextActions::writeMoneyInChinese(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const QString text = payload.textString();
    // Parsed as the user writes numbers: "1,234.56" in English, "1.234,56" in German.
    bool ok = false;
    const double number = QLocale::system().toDouble(text, &ok);
    if (!ok || !std::isfinite(number)) {
        Korvane::finishOnMain(reply, false, Korvane::Error(TextTransforms::capitalNumberErrorCode, qtTrId("PleaseEnterNumbers")));
        notify(reply, false, *drop, qtTrId("PleaseEnterNumbers"));
        return;
    }
    Korvane::Error refusal;
    QString result = TextTransforms::changeCapitalChineseWithNumber(number, &refusal);
    qCInfo(lcTextActions, "text:%s, convertStr:%s", qUtf8Printable(LogText::summary(text, lcTextActions())),
           qUtf8Printable(LogText::summary(result, lcTextActions())));
    if (result.isNull()) {
        Korvane::finishOnMain(reply, false, refusal);
        notify(reply, false, *drop, refusal.localizedDescription());
        return;
    }
    const auto settings = drop->capitalAmountSettings();
    if (settings && settings->autoBegin())
        result = QStringLiteral("人民币%1").arg(result);
    const bool whole = !QString::number(number, 'f', QLocale::FloatingPointShortest).contains(QLatin1Char('.'));
    if (settings && settings->autoEnd() && whole)
        result = QStringLiteral("%1圆整").arg(result);
    reply.copyText(result);
    Korvane::finishOnMain(reply, true);
    notify(reply, true, *drop, result);
}

void TextActions::shareText(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply)
{
    const auto finishLater = [reply](bool success, const Korvane::Error &error = Korvane::Error()) {
        QTimer::singleShot(ShareActions::airDropCompletionDelayMs, QCoreApplication::instance(),
                           [reply, success, error] { reply(success, error); });
    };
    // The cache folder is found through the store, which lives on this thread; the file is
    // one text, written at once.
    Korvane::Error error;
    const QUrl file = FileManager::saveCacheFile(payload.textString(), &error);
    if (file.isEmpty() || !error.isNull()) {
        qCWarning(lcTextActions, "could not write the text to share: %s", qUtf8Printable(error.localizedDescription()));
        finishLater(false);
        return;
    }
    ShareService::instance()->shareOnAirDrop({file}, [drop, reply, finishLater](const Korvane::Error &shareError) {
        if (!shareError.isNull()) {
            notify(reply, false, *drop, shareError.localizedDescription());
            finishLater(false, shareError);
            return;
        }
        finishLater(true);
        notify(reply, true, *drop, qtTrId("AirDropFilesShared", 1));
    });
}
