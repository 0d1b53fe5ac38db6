#pragma once

#include "shell/editor/formsettingspanel.h"

class QComboBox;
class QLabel;
class QLineEdit;

// The translation action: the language the text is translated into, and the LibreTranslate
// server that translates it, with a button that tries the server as it is set.
class TranslationPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit TranslationPanel(QWidget *parent = nullptr);

private:
    void storeServer();
    void testService();

    QComboBox *m_language = nullptr;
    QLabel *m_service = nullptr;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_apiKey = nullptr;
    QLabel *m_testAnswer = nullptr;
};
