#pragma once

#include "shell/editor/formsettingspanel.h"

class QCheckBox;

// The rename action: replace text in the name and add text to it (together, if wished), or
// give every file a new name with a number, letter or date; the last excludes the other two.
class RenamePanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    explicit RenamePanel(QWidget *parent = nullptr);

    QCheckBox *replaceCheckBox() const { return m_replace; }
    QCheckBox *addCheckBox() const { return m_add; }
    QCheckBox *customizeCheckBox() const { return m_customize; }
    QLineEdit *startLetterField() const { return m_startLetter; }
    QLineEdit *startNumberField() const { return m_startNumber; }

    // What is stored for a typed start letter: its first character when that is a letter
    // from a to z in either case, otherwise "a".
    static QString storedStartLetter(const QString &typed);

private:
    void setRule(QCheckBox *box, const QString &attribute, bool on);
    void enableRuleFields();

    QCheckBox *m_replace;
    QCheckBox *m_add;
    QCheckBox *m_customize;
    QLineEdit *m_startLetter = nullptr;
    QLineEdit *m_startNumber = nullptr;
    QList<QWidget *> m_replaceFields;
    QList<QWidget *> m_addFields;
    QList<QWidget *> m_customizeFields;
};
