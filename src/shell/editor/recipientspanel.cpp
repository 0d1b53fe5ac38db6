#include "shell/editor/recipientspanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

RecipientsPanel::RecipientsPanel(bool withSubject, QWidget *parent)
    : FormSettingsPanel(parent)
    , m_list(new QListWidget(this))
{
    if (withSubject)
        m_subject = addTextField(qtTrId("mailSubject"), QStringLiteral("title"), qtTrId("mailSubjectTip"));

    m_list->setToolTip(qtTrId("recipientsTip"));
    m_list->setMinimumHeight(140);
    m_list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::SelectedClicked);
    addRow(qtTrId("recipients"), m_list);
    auto *buttons = new QHBoxLayout;
    auto *add = new QPushButton(qtTrId("addRecipient"), this);
    auto *remove = new QPushButton(qtTrId("removeRecipient"), this);
    add->setToolTip(qtTrId("addRecipientTip"));
    remove->setToolTip(qtTrId("removeRecipientTip"));
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    addRow(buttons);

    addRefresher([this] {
        const QSignalBlocker blocker(m_list);
        m_list->clear();
        const QString recipients = setting(QStringLiteral("receives")).toString();
        for (const QString &recipient : recipients.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            auto *item = new QListWidgetItem(recipient.trimmed(), m_list);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
        }
    });
    connect(add, &QPushButton::clicked, this, &RecipientsPanel::addRecipient);
    connect(remove, &QPushButton::clicked, this, &RecipientsPanel::removeSelectedRecipient);
    connect(m_list, &QListWidget::itemChanged, this, &RecipientsPanel::storeRecipients);
}

void RecipientsPanel::addRecipient()
{
    auto *item = new QListWidgetItem(m_list);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_list->setCurrentItem(item);
    m_list->editItem(item);
}

void RecipientsPanel::removeSelectedRecipient()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    delete m_list->takeItem(row);
    storeRecipients();
}

void RecipientsPanel::storeRecipients()
{
    QStringList recipients;
    for (int i = 0; i < m_list->count(); ++i) {
        // A comma inside a row would split it in two when read back.
        const QString recipient = m_list->item(i)->text().remove(QLatin1Char(',')).trimmed();
        if (!recipient.isEmpty())
            recipients.append(recipient);
    }
    const QString joined = recipients.join(QLatin1Char(','));
    if (joined != setting(QStringLiteral("receives")).toString())
        saveSetting(QStringLiteral("receives"), joined);
}
