#include "translationviewcontroller.h"

TranslationViewController::TranslationViewController(QWidget *parent)
    : BaseSettingViewController(parent)
{
    // Positions follow the service's language list "zh", "en", "jp", "kr", "de", "fr".
    addMenu(qtTrId("translateTarget"), QStringLiteral("type"),
            {qtTrId("languageChinese"), qtTrId("languageEnglish"), qtTrId("languageJapanese"),
             qtTrId("languageKorean"), qtTrId("languageGerman"), qtTrId("languageFrench")},
            qtTrId("translateTargetTip"));
}
