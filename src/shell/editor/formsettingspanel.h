#pragma once

#include "shell/editor/settingspanel.h"


#include <QLoggingCategory>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class StoredRecord;
class KeyCombinationEdit;

// What every settings panel shares: the action's name field, which refuses to be left empty,
// and its hotkey, recorded in a field that refuses a combination another action or another
// program already holds. Kinds add their own rows with addRow() and show their record in
// showSettings().
class FormSettingsPanel : public SettingsPanel
{
    Q_OBJECT

public:
    explicit FormSettingsPanel(QWidget *parent = nullptr);
    ~FormSettingsPanel() override;

    void setAction(const std::shared_ptr<DropListEntity> &drop) override;
    void focusTitleField() override;

    // Stores value as the action's hotkey, or clears it when value is empty; false when the
    // combination was refused (the field then says why in its tooltip).
    bool saveHotkey(QKeyCombination value);

    std::shared_ptr<DropListEntity> action() const { return m_drop; }
    QLineEdit *titleField() const { return m_titleField; }
    QPushButton *hotKeyButton() const { return m_hotKeyButton; }
    KeyCombinationEdit *hotKeyField() const { return m_hotKeyField; }

protected:
    // Called with the record set; the settings record is m_drop->settings().
    virtual void showSettings() {}
    void addRow(const QString &label, QWidget *field);
    void addRow(QWidget *field);
    void addRow(QLayout *field);
    void addRow(const QString &label, QLayout *field);
    // Controls bound to one attribute of the settings record: shown from it whenever the
    // record is set, stored into it (and saved) whenever the user changes them.
    QCheckBox *addCheckBox(const QString &text, const QString &attribute, const QString &toolTip);
    QComboBox *addMenu(const QString &label, const QString &attribute, const QStringList &items,
                       const QString &toolTip);
    // Stored when editing ends; a secret field is masked.
    QLineEdit *addTextField(const QString &label, const QString &attribute, const QString &toolTip,
                            bool secret = false);
    // Runs each time a record is set, with the controls' signals blocked.
    void addRefresher(const std::function<void()> &refresh);
    // Writes one attribute of the settings record and saves the store at once.
    void saveSetting(const QString &attribute, const QVariant &value);
    QVariant setting(const QString &attribute) const;
    std::shared_ptr<StoredRecord> settings() const;

    std::shared_ptr<DropListEntity> m_drop;

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void titleEditingFinished();
    void showHotKeyButton(bool show);
    void refuseHotKey(const QString &reason);
    // The stored shortcut as the system bound it, with a warning where it did not.
    void showHotKeyBinding();

    std::vector<std::function<void()>> m_refreshers;
    QFormLayout *m_form;
    QLineEdit *m_titleField;
    QLabel *m_titleProblem;
    QPushButton *m_hotKeyButton;
    KeyCombinationEdit *m_hotKeyField;
    QLabel *m_hotKeyProblem;
};
