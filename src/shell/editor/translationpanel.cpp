#include "shell/editor/translationpanel.h"

#include "net/apiclient.h"
#include "platform/settings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

TranslationPanel::TranslationPanel(QWidget *parent)
    : FormSettingsPanel(parent)
{
    // Positions follow the service's language list "zh", "en", "jp", "kr", "de", "fr".
    m_language = addMenu(qtTrId("translateTarget"), QStringLiteral("type"),
                         {qtTrId("languageChinese"), qtTrId("languageEnglish"), qtTrId("languageJapanese"),
                          qtTrId("languageKorean"), qtTrId("languageGerman"), qtTrId("languageFrench")},
                         qtTrId("translateTargetTip"));

    // The server and its key are the user's, not the action's: every translate action uses them.
    m_server = new QLineEdit(Korvane::Settings::libreTranslateUrl.read(), this);
    m_server->setPlaceholderText(QStringLiteral("https://translate.example.org"));
    m_server->setObjectName(QStringLiteral("libretranslateUrl"));
    m_server->setToolTip(qtTrId("libreTranslateServerTip"));
    addRow(qtTrId("libreTranslateServer"), m_server);
    m_apiKey = new QLineEdit(Korvane::Settings::libreTranslateKey.read(), this);
    m_apiKey->setObjectName(QStringLiteral("libretranslateKey"));
    m_apiKey->setEchoMode(QLineEdit::Password);
    m_apiKey->setToolTip(qtTrId("libreTranslateKeyTip"));
    addRow(qtTrId("libreTranslateKey"), m_apiKey);
    connect(m_server, &QLineEdit::editingFinished, this, &TranslationPanel::storeServer);
    connect(m_apiKey, &QLineEdit::editingFinished, this, &TranslationPanel::storeServer);

    // Which service translates depends on these settings; say it where the user sets them.
    m_service = new QLabel(ApiClient::translationServiceDescription(), this);
    m_service->setWordWrap(true);
    m_service->setForegroundRole(QPalette::PlaceholderText);
    addRow(qtTrId("translationService"), m_service);

    auto *test = new QPushButton(qtTrId("translateTest"), this);
    test->setObjectName(QStringLiteral("translateTest"));
    m_testAnswer = new QLabel(this);
    m_testAnswer->setWordWrap(true);
    m_testAnswer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *row = new QHBoxLayout;
    row->addWidget(test);
    row->addWidget(m_testAnswer, 1);
    addRow(QString(), row);
    connect(test, &QPushButton::clicked, this, &TranslationPanel::testService);
}

void TranslationPanel::storeServer()
{
    const QString server = m_server->text().trimmed();
    const QString apiKey = m_apiKey->text().trimmed();
    if (server.isEmpty())
        Korvane::Settings::libreTranslateUrl.remove();
    else
        Korvane::Settings::libreTranslateUrl.write(server);
    if (apiKey.isEmpty())
        Korvane::Settings::libreTranslateKey.remove();
    else
        Korvane::Settings::libreTranslateKey.write(apiKey);
    m_service->setText(ApiClient::translationServiceDescription());
}

void TranslationPanel::testService()
{
    storeServer();
    const ApiClient::TranslationService service = ApiClient::translationService();
    if (service == ApiClient::TranslationService::None) {
        m_testAnswer->setText(qtTrId("translateNotConfigured"));
        return;
    }
    const QStringList languages = ApiClient::translateLanguages();
    const int index = m_language->currentIndex();
    const QString target = languages.value(index >= 0 ? index : 0, languages.first());
    m_testAnswer->setText(qtTrId("translateTesting"));
    // The answer may come after the panel is gone.
    const QPointer<QLabel> answer = m_testAnswer;
    const auto answered = [answer](bool, const QVariant &result, const QString &message) {
        if (!answer)
            return;
        const QString translated = result.toString();
        if (!message.isEmpty())
            answer->setText(message);
        else if (translated.isEmpty())
            answer->setText(qtTrId("TranslateFailed"));
        else
            answer->setText(qtTrId("translateTestAnswer").arg(translated));
    };
    const QString sample = QStringLiteral("hello");
    if (service == ApiClient::TranslationService::LibreTranslate)
        ApiClient::libreTranslate(sample, target, answered);
    else
        ApiClient::translate(sample, target, answered);
}
