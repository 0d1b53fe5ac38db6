#include "translationviewcontroller.h"

#include "korvaneapiclient.h"

#include <QLabel>

TranslationViewController::TranslationViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
    // Positions follow the service's language list "zh", "en", "jp", "kr", "de", "fr".
    addMenu(qtTrId("translateTarget"), QStringLiteral("type"),
            {qtTrId("languageChinese"), qtTrId("languageEnglish"), qtTrId("languageJapanese"),
             qtTrId("languageKorean"), qtTrId("languageGerman"), qtTrId("languageFrench")},
            qtTrId("translateTargetTip"));
    // Which service translates depends on the hosts settings; say it where the user sets the language.
    auto *service = new QLabel(KorvaneApiClient::translationServiceDescription());
    service->setWordWrap(true);
    service->setForegroundRole(QPalette::PlaceholderText);
    addRow(qtTrId("translationService"), service);
}
