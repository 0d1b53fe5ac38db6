#include "korvanetextactions.h"

#include "customurl.h"
#include "droplistentity.h"
#include "korvaneclipboard.h"
#include "korvanehandledata.h"
#include "korvanehandlepbhelper.h"
#include "korvaneplatform.h"
#include "korvaneurlopener.h"
#include "stringmanager.h"
#include "textcharcount.h"
#include "textcustomurl.h"
#include "textupdownstring.h"

#include <QCoreApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTextActions, "korvane.actions.text", QtWarningMsg)

namespace {

using DropPtr = KorvaneTextActions::DropPtr;

QString flattened(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

void notify(bool success, const DropListEntity &drop, const QString &body)
{
    KorvaneNotificationContent content = KorvaneHandlePbHelper::defaultNotificationContentSucceed(success, drop);
    content.body = body;
    KorvaneHandlePbHelper::trigeerlocalNotificationWithContent(content);
}

QString droppedText()
{
    return KorvaneHandleData::shareInstance()->textString();
}

} // namespace

void KorvaneTextActions::clearTextEntity(const DropPtr &drop)
{
    StringManager::stripPasteboardString(droppedText());
    const KorvanePasteboard pasteboard = KorvanePlatform::clipboard()->pasteboard();
    QString plain;
    for (const KorvanePasteboardItem &item : pasteboard.pasteboardItems()) {
        if (item.hasType(KorvanePasteboardType::String)) {
            plain = item.stringForType(KorvanePasteboardType::String);
            break;
        }
    }
    notify(true, *drop, flattened(plain));
}

void KorvaneTextActions::countTextEntity(const DropPtr &drop)
{
    const QHash<QString, qint64> statistics = StringManager::characterStatistics(droppedText());
    const auto settings = drop->textCharCount();
    QString result;
    if (settings && settings->countTotal())
        result += qtTrId("AllCharactersQty").arg(statistics.value(QStringLiteral("characterNum")));
    if (settings && settings->countLetter())
        result += qtTrId("LettersQty").arg(statistics.value(QStringLiteral("englishNum")));
    if (settings && settings->countEnWord())
        result += qtTrId("EnglishWordsQty").arg(statistics.value(QStringLiteral("englishWordNum")));
    KorvaneHandlePbHelper::pasteTextToPB(result);
    notify(true, *drop, result);
}

void KorvaneTextActions::customUrlTextEntity(const DropPtr &drop, const KorvaneCompletion &completion)
{
    const auto settings = drop->textCustomUrl();
    const QList<std::shared_ptr<CustomUrl>> urls = settings ? settings->urls() : QList<std::shared_ptr<CustomUrl>>();
    if (urls.isEmpty()) {
        finishOnMain(completion, false, KorvaneError(7004, qtTrId("CustomUrlNotSet")));
        notify(false, *drop, qtTrId("CustomUrlNotSet"));
        return;
    }

    const QString text = droppedText();
    QString summary;
    QList<QUrl> toOpen;
    QStringList opened;
    for (const auto &record : urls) {
        QString address = record->url();
        address.replace(QLatin1String("{text}"), text);
        summary += address + QLatin1Char(' ');
        // The text goes in unescaped first, so query characters in it act as URL syntax;
        // then the whole address is encoded once.
        const QString encoded = KorvaneHandlePbHelper::URLEncodedString(address);
        const QUrl url(encoded, QUrl::StrictMode);
        if (!url.isValid() || url.scheme().isEmpty()) {
            qCWarning(lcTextActions, "skipping the custom URL \"%s\": it is not a URL", qUtf8Printable(address));
            continue;
        }
        toOpen.append(url);
        opened.append(encoded);
    }
    KorvanePlatform::urlOpener()->openURLs(toOpen);
    // Our choice for the flag the panel offers: the opened addresses are copied too.
    if (settings->needCopy())
        KorvaneHandlePbHelper::pasteTextToPB(opened.join(QLatin1Char('\n')));
    notify(true, *drop, summary);
    finishOnMain(completion, true);
}

QString KorvaneTextActions::capitalizedString(const QString &text)
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

void KorvaneTextActions::engilshCaseConvert(const DropPtr &drop, const KorvaneCompletion &completion)
{
    const QString text = droppedText();
    const bool hasLetter = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c.unicode() & ~0x20) >= 0x41 && (c.unicode() & ~0x20) <= 0x5a;
    });
    if (!hasLetter) {
        notify(false, *drop, qtTrId("noEnLetter"));
        finishOnMain(completion, false);
        return;
    }
    const auto settings = drop->textUpDownString();
    const int handleType = settings ? settings->handleType() : 0;
    QString result;
    if (handleType == 1)
        result = text.toUpper();
    else if (handleType == 2)
        result = text.toLower();
    else
        result = capitalizedString(text);
    KorvaneHandlePbHelper::pasteTextToPB(result);
    finishOnMain(completion, true);
    notify(true, *drop, result);
}
