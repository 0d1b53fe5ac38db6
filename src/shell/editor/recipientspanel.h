#pragma once

#include "shell/editor/formsettingspanel.h"

class QListWidget;

// The mail and message actions: the recipients, one editable row each, stored joined with
// ","; mail also has its subject. It edits the text or the file record by the catalog.
class RecipientsPanel final : public FormSettingsPanel
{
    Q_OBJECT

public:
    RecipientsPanel(bool withSubject, QWidget *parent = nullptr);

    QListWidget *recipientList() const { return m_list; }
    QLineEdit *subjectField() const { return m_subject; }
    void addRecipient();
    void removeSelectedRecipient();

private:
    void storeRecipients();

    QListWidget *m_list;
    QLineEdit *m_subject = nullptr;
};
