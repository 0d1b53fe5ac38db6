#include "shell/editor/customurlpanel.h"

#include "store/customurl.h"
#include "shell/editor/customurlitemdelegate.h"
#include "actions/text/customurllibrary.h"
#include "shell/editor/customurllistmodel.h"
#include "store/droplistentity.h"
#include "store/actionstore.h"
#include "store/storecontext.h"
#include "store/customurlsettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString kTextPlaceholder = QStringLiteral("{text}");

} // namespace

CustomUrlPanel::CustomUrlPanel(QWidget *parent)
    : FormSettingsPanel(parent)
    , m_model(new CustomUrlListModel(this))
    , m_list(new QListView(this))
    , m_problem(new QLabel(qtTrId("customUrlEmpty"), this))
    , m_addButton(new QPushButton(qtTrId("customUrlAdd"), this))
    , m_deleteButton(new QPushButton(qtTrId("customUrlDelete"), this))
    , m_insertButton(new QPushButton(qtTrId("customUrlInsert"), this))
    , m_libraryButton(new QToolButton(this))
{
    auto *delegate = new CustomUrlItemDelegate(m_list);
    m_list->setItemDelegate(delegate);
    m_list->setModel(m_model);
    // Every row has the same height, so ten thousand rows cost no more than ten.
    m_list->setUniformItemSizes(true);
    m_list->setSpacing(3);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::SelectedClicked);
    m_list->setMinimumHeight(200);
    m_list->setToolTip(qtTrId("customUrlListTip"));
    addRow(qtTrId("customUrlList"), m_list);

    m_problem->setStyleSheet(QStringLiteral("color: #d93025;"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    addRow(m_problem);

    m_addButton->setToolTip(qtTrId("customUrlAddTip"));
    m_deleteButton->setToolTip(qtTrId("customUrlDeleteTip"));
    m_insertButton->setToolTip(qtTrId("customUrlInsertTip"));
    // Clicking it must leave the row's field open, so the caret is still there.
    m_insertButton->setFocusPolicy(Qt::NoFocus);
    m_libraryButton->setText(qtTrId("customUrlLibrary"));
    m_libraryButton->setToolTip(qtTrId("customUrlLibraryTip"));
    m_libraryButton->setPopupMode(QToolButton::InstantPopup);
    auto *library = new QMenu(m_libraryButton);
    for (const auto &entry : CustomUrlLibrary::entries()) {
        const QString url = entry.url;
        library->addAction(CustomUrlLibrary::displayName(entry), this, [this, url] { addLibraryUrl(url); });
    }
    m_libraryButton->setMenu(library);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_deleteButton);
    buttons->addWidget(m_insertButton);
    buttons->addStretch(1);
    addRow(buttons);
    // On a row of its own: beside the others it would make the panel wider than the editor.
    auto *libraryRow = new QHBoxLayout;
    libraryRow->addWidget(m_libraryButton);
    libraryRow->addStretch(1);
    addRow(libraryRow);

    addCheckBox(qtTrId("customUrlNeedCopy"), QStringLiteral("needCopy"), qtTrId("customUrlNeedCopyTip"));

    addRefresher([this] {
        const auto record = m_drop ? m_drop->customUrlSettings() : nullptr;
        m_model->setUrls(record ? record->urls() : QList<std::shared_ptr<CustomUrl>>());
        m_problem->hide();
    });
    connect(m_addButton, &QPushButton::clicked, this, &CustomUrlPanel::addUrl);
    connect(m_deleteButton, &QPushButton::clicked, this, &CustomUrlPanel::deleteSelectedUrl);
    connect(m_insertButton, &QPushButton::clicked, this, &CustomUrlPanel::insertTextPlaceholder);
    connect(m_model, &CustomUrlListModel::emptyRefused, this, [this] { m_problem->show(); });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] { m_problem->hide(); });
    connect(delegate, &CustomUrlItemDelegate::editorCreated, this, [this](QWidget *editor) {
        m_editor = qobject_cast<QLineEdit *>(editor);
    });
    connect(delegate, &QAbstractItemDelegate::closeEditor, this, [this](QWidget *editor) {
        // A new row left empty is refused and goes back to editing.
        const QPersistentModelIndex current = m_list->currentIndex();
        if (const auto url = m_model->urlAt(current.row()); url && url->url().trimmed().isEmpty() && editor) {
            m_problem->show();
            QMetaObject::invokeMethod(
                this, [this, current] {
                    if (current.isValid())
                        m_list->edit(current);
                },
                Qt::QueuedConnection);
        }
    });
}

void CustomUrlPanel::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

void CustomUrlPanel::addUrl()
{
    if (!m_drop || !m_drop->customUrlSettings())
        return;
    const auto url = ActionStore::instance()->addNewCustomUrl(m_drop);
    if (!url)
        return;
    m_model->append(url);
    selectRow(m_model->rowCount() - 1);
    m_list->setFocus(Qt::OtherFocusReason);
    m_list->edit(m_list->currentIndex());
}

void CustomUrlPanel::addLibraryUrl(const QString &url)
{
    if (!m_drop || !m_drop->customUrlSettings() || url.isEmpty())
        return;
    const auto added = ActionStore::instance()->addNewCustomUrl(m_drop, url);
    if (!added)
        return;
    m_model->append(added);
    selectRow(m_model->rowCount() - 1);
}

void CustomUrlPanel::deleteSelectedUrl()
{
    const int row = m_list->currentIndex().row();
    if (!m_drop || row < 0)
        return;
    const auto url = m_model->takeAt(row);
    if (!url)
        return;
    auto *store = ActionStore::instance();
    store->deleteCustomUrl(m_drop, url);
    // deleteCustomUrl only detaches the template; without this its row stays in the file.
    store->context()->deleteObject(url);
    store->saveDataChange();
    m_problem->hide();
    if (m_model->rowCount() > 0)
        selectRow(std::min(row, m_model->rowCount() - 1));
}

void CustomUrlPanel::insertTextPlaceholder()
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid())
        return;
    if (!m_editor) {
        m_list->edit(current);
        if (!m_editor)
            return;
        m_editor->end(false);
    }
    m_editor->insert(kTextPlaceholder);
    m_model->setData(current, m_editor->text());
}
