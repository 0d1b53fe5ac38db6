#include "shell/editor/actioneditorpage.h"

#include "shell/actioniconprovider.h"
#include "shell/editor/actionlistview.h"
#include "intake/actionmodel.h"
#include "shell/editor/actionoutlineview.h"
#include "shell/editor/actionkindcell.h"
#include "intake/actiontreenode.h"
#include "intake/actiontypemodel.h"
#include "store/droplistentity.h"
#include "store/actionstore.h"
#include "platform/settings.h"
#include "shell/editor/actionpreviewcell.h"
#include "shell/editor/settingspanel.h"
#include "shell/editor/settingspanelfactory.h"
#include "shell/shelllogging.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int GroupRowHeight = 24;
constexpr int ActionRowHeight = 38;
constexpr int ListRowHeight = 44;

bool paletteIsDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

const ActionModel *findModel(const ActionTreeNode *root, qint64 type)
{
    if (!root)
        return nullptr;
    for (const auto &group : root->children()) {
        for (const auto &leaf : group->children()) {
            const auto *model = std::get_if<ActionModel>(&leaf->value());
            if (model && model->type() == type)
                return model;
        }
    }
    return nullptr;
}

} // namespace

ActionEditorPage::ActionEditorPage(QWidget *parent)
    : QWidget(parent)
    , m_typeList(new QListWidget)
    , m_listTitle(new QLabel)
    , m_outline(new ActionOutlineView)
    , m_actionList(new ActionListView)
    , m_infoView(new QFrame)
    , m_infoTitle(new QLabel)
    , m_infoDescription(new QLabel)
    , m_editContainer(new QWidget)
    , m_editLayout(new QVBoxLayout(m_editContainer))
    , m_emptyPanelLabel(new QLabel(qtTrId("noSettingsPanel")))
    , m_writeProblem(new QLabel)
{
    setObjectName(QStringLiteral("actionEditor"));
    m_isDark = paletteIsDark(palette());
    readyData();

    m_typeList->setObjectName(QStringLiteral("typeList"));
    m_typeList->setFixedWidth(140);
    m_typeList->setIconSize(QSize(22, 22));
    m_typeList->setFrameShape(QFrame::NoFrame);
    m_typeList->setAccessibleName(qtTrId("typeListName"));
    buildTypeList();

    m_outline->setObjectName(QStringLiteral("catalogOutline"));
    m_outline->setFixedWidth(300);
    m_outline->setAccessibleName(qtTrId("catalogOutlineName"));

    QFont listTitleFont = m_listTitle->font();
    listTitleFont.setBold(true);
    m_listTitle->setFont(listTitleFont);
    m_listTitle->setContentsMargins(10, 8, 8, 4);
    m_listTitle->setWordWrap(true);
    m_actionList->setObjectName(QStringLiteral("actionList"));
    m_actionList->setAccessibleName(qtTrId("actionListName"));
    m_actionList->setToolTip(qtTrId("actionListTip"));
    auto *listColumn = new QWidget;
    listColumn->setFixedWidth(270);
    auto *listLayout = new QVBoxLayout(listColumn);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    listLayout->addWidget(m_listTitle);
    listLayout->addWidget(m_actionList, 1);

    m_infoView->setObjectName(QStringLiteral("infoView"));
    m_infoView->setAutoFillBackground(false);
    QFont infoTitleFont = m_infoTitle->font();
    infoTitleFont.setBold(true);
    infoTitleFont.setPointSizeF(infoTitleFont.pointSizeF() * 1.25);
    m_infoTitle->setFont(infoTitleFont);
    m_infoTitle->setWordWrap(true);
    m_infoDescription->setWordWrap(true);
    auto *infoLayout = new QVBoxLayout(m_infoView);
    infoLayout->setContentsMargins(16, 12, 16, 12);
    infoLayout->addWidget(m_infoTitle);
    infoLayout->addWidget(m_infoDescription);
    m_infoView->hide();

    m_editContainer->setObjectName(QStringLiteral("editContainer"));
    m_editLayout->setContentsMargins(4, 4, 4, 4);
    m_emptyPanelLabel->setWordWrap(true);
    m_emptyPanelLabel->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_emptyPanelLabel->hide();
    m_editLayout->addWidget(m_emptyPanelLabel);
    m_editLayout->addStretch(1);
    auto *rightColumn = new QWidget;
    auto *rightLayout = new QVBoxLayout(rightColumn);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    // A change the store refused stays in the fields, with this saying it is not saved.
    m_writeProblem->setObjectName(QStringLiteral("writeProblem"));
    m_writeProblem->setWordWrap(true);
    m_writeProblem->setContentsMargins(16, 8, 16, 8);
    m_writeProblem->setStyleSheet(QStringLiteral("#writeProblem { background: #c62828; color: white; }"));
    m_writeProblem->hide();
    rightLayout->addWidget(m_writeProblem);
    ActionStore::instance()->setWriteStateHandler([label = QPointer<QLabel>(m_writeProblem)](const QString &error) {
        if (!label)
            return;
        label->setText(qtTrId("storeWriteFailed").arg(error));
        label->setVisible(!error.isEmpty());
    });
    rightLayout->addWidget(m_infoView);
    // The panel scrolls rather than widen the window: a long translation or a large font must
    // never push the editor past the edge of the screen.
    auto *editScroll = new QScrollArea;
    editScroll->setObjectName(QStringLiteral("editScroll"));
    editScroll->setFrameShape(QFrame::NoFrame);
    editScroll->setWidgetResizable(true);
    editScroll->setWidget(m_editContainer);
    editScroll->viewport()->setAutoFillBackground(false);
    // A click on a button that takes no focus gives it to the first parent that does: were
    // that the scroll area, "Insert {text}" would end the address being edited.
    editScroll->setFocusPolicy(Qt::NoFocus);
    rightLayout->addWidget(editScroll, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto separator = [] {
        auto *line = new QFrame;
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Plain);
        line->setEnabled(false);
        return line;
    };
    layout->addWidget(m_typeList);
    layout->addWidget(separator());
    layout->addWidget(m_outline);
    layout->addWidget(separator());
    layout->addWidget(listColumn);
    layout->addWidget(separator());
    layout->addWidget(rightColumn, 1);

    connect(m_typeList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updatingSelection && row >= 0)
            selectTypeRow(row);
    });
    connect(m_outline, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (m_updatingSelection || !item || !item->data(0, ActionOutlineView::TypeRole).isValid())
            return;
        const ActionModel *model = findModel(currentCatalog() ? m_fileTree.get() : m_textTree.get(),
                                             item->data(0, ActionOutlineView::TypeRole).toLongLong());
        removeEditorSubviews();
        m_dropList.setCurrentPreviewSelectRow(-1);
        m_updatingSelection = true;
        m_actionList->setCurrentRow(-1);
        m_actionList->clearSelection();
        m_updatingSelection = false;
        applyHighlight();
        if (model)
            showInfo(model->titleStr(), model->desStr(), false);
    });
    connect(m_outline, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item && item->data(0, ActionOutlineView::TypeRole).isValid())
            actionsTableViewDoubleClicked(currentCatalog(), item->data(0, ActionOutlineView::TypeRole).toInt());
    });
    connect(m_actionList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updatingSelection && row >= 0)
            selectActionRow(row);
    });
    connect(m_actionList, &ActionListView::moveRequested, this, &ActionEditorPage::moveDrop);
    connect(m_actionList, &ActionListView::addRequested, this, &ActionEditorPage::acceptDrop);

    m_updatingSelection = true;
    m_typeList->setCurrentRow(1);
    m_updatingSelection = false;
    changeDropListData(0);
    m_listTitle->setText(qtTrId("textActionPreview"));
    reloadTreeView();
    darkModeChanged();
}

ActionEditorPage::~ActionEditorPage()
{
    ActionStore::instance()->setWriteStateHandler({});
}

void ActionEditorPage::readyData()
{
    m_textTree = ActionTypeModel::getTextTypeRootTree();
    m_fileTree = ActionTypeModel::getFileTypeRootTree();
}

void ActionEditorPage::buildTypeList()
{
    const QColor tint = palette().color(QPalette::WindowText);
    const QStringList typeNames{qtTrId("files"), qtTrId("text")};
    m_typeList->clear();
    for (int row = 0; row < typeNames.size(); ++row) {
        auto *item = new QListWidgetItem(QIcon(ActionIconProvider::typeImage(row == 1, 22, tint, devicePixelRatioF())), typeNames.at(row));
        item->setSizeHint(QSize(0, 40));
        m_typeList->addItem(item);
    }
}

void ActionEditorPage::changeDropListData(qint64 catalog)
{
    m_dropList.load(catalog);
    buildActionList();
}

void ActionEditorPage::buildActionList()
{
    m_updatingSelection = true;
    m_actionList->clear();
    for (int row = 0; row < m_dropList.count(); ++row)
        insertActionRow(row);
    m_updatingSelection = false;
}

void ActionEditorPage::insertActionRow(int row)
{
    const auto drop = m_dropList.at(row);
    auto *item = new QListWidgetItem;
    item->setData(Qt::AccessibleTextRole, drop->title());
    item->setSizeHint(QSize(0, ListRowHeight));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    m_actionList->insertItem(row, item);
    auto *cell = new ActionPreviewCell(drop);
    cell->setDark(m_isDark);
    connect(cell, &ActionPreviewCell::removeBtnPressed, this, &ActionEditorPage::previewCellViewRemoveBtnPressed);
    m_actionList->setItemWidget(item, cell);
}

ActionPreviewCell *ActionEditorPage::cellAt(int row) const
{
    QListWidgetItem *item = m_actionList->item(row);
    return item ? qobject_cast<ActionPreviewCell *>(m_actionList->itemWidget(item)) : nullptr;
}

void ActionEditorPage::reloadTreeView()
{
    m_updatingSelection = true;
    m_outline->clear();
    const ActionTreeNode *root = currentCatalog() ? m_fileTree.get() : m_textTree.get();
    for (const auto &group : root->children()) {
        const auto *heading = std::get_if<ActionTypeModel>(&group->value());
        auto *groupItem = new QTreeWidgetItem(m_outline, {heading ? heading->titleString() : QString()});
        groupItem->setFlags(Qt::ItemIsEnabled);
        groupItem->setSizeHint(0, QSize(0, GroupRowHeight));
        QFont font = groupItem->font(0);
        font.setBold(true);
        font.setPointSizeF(font.pointSizeF() * 0.9);
        groupItem->setFont(0, font);
        groupItem->setForeground(0, palette().color(QPalette::PlaceholderText));
        for (const auto &leaf : group->children()) {
            const auto *model = std::get_if<ActionModel>(&leaf->value());
            if (!model)
                continue;
            auto *item = new QTreeWidgetItem(groupItem);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
            item->setData(0, ActionOutlineView::TypeRole, model->type());
            item->setData(0, Qt::AccessibleTextRole, model->titleStr());
            item->setSizeHint(0, QSize(0, ActionRowHeight));
            auto *cell = new ActionKindCell(*model, m_isDark);
            connect(cell, &ActionKindCell::actionsCellViewAddBtnPressed, this, &ActionEditorPage::actionsCellViewAddBtnPressed);
            m_outline->setItemWidget(item, 0, cell);
        }
    }
    m_outline->expandAll();
    m_updatingSelection = false;
}

void ActionEditorPage::selectTypeRow(int row)
{
    removeEditorSubviews();
    m_infoView->hide();
    m_updatingSelection = true;
    if (m_typeList->currentRow() != row)
        m_typeList->setCurrentRow(row);
    m_dropList.setCurrentPreviewSelectRow(-1);
    applyHighlight();
    m_actionList->clearSelection();
    m_updatingSelection = false;
    changeDropListData(row == 0 ? 1 : 0);
    m_dropList.setCurrentPreviewSelectRow(0);
    m_listTitle->setText(row == 0 ? qtTrId("fileActionPreview") : qtTrId("textActionPreview"));
    reloadTreeView();
}

void ActionEditorPage::showInfo(const QString &title, const QString &description, bool tinted)
{
    m_infoTitle->setText(title);
    m_infoDescription->setText(description);
    const QString background = tinted ? (m_isDark ? QStringLiteral("rgba(0, 0, 0, 77)") : QStringLiteral("rgba(0, 0, 0, 26)"))
                                      : QStringLiteral("transparent");
    m_infoView->setStyleSheet(QStringLiteral("#infoView { background: %1; }").arg(background));
    m_infoView->show();
}

void ActionEditorPage::applyHighlight()
{
    for (int row = 0; row < m_actionList->count(); ++row) {
        if (ActionPreviewCell *cell = cellAt(row))
            cell->makeStyleSeleceted(row == m_dropList.currentPreviewSelectRow());
    }
}

void ActionEditorPage::selectActionRow(int row)
{
    const auto drop = m_dropList.at(row);
    if (!drop)
        return;
    removeEditorSubviews();
    m_dropList.setCurrentPreviewSelectRow(row);
    m_updatingSelection = true;
    if (m_actionList->currentRow() != row)
        m_actionList->setCurrentRow(row);
    m_outline->setCurrentItem(nullptr);
    m_updatingSelection = false;
    applyHighlight();

    if (drop->catalog() == 0 || drop->catalog() == 1) {
        const ActionModel *model = findModel(drop->catalog() ? m_fileTree.get() : m_textTree.get(), drop->type());
        showInfo(model ? model->titleStr() : QString(), model ? model->desStr() : QString(), true);
    } else {
        m_infoView->hide();
    }

    const QString identifier = SettingsPanel::identifierForKind(drop->catalog(), drop->type());
    if (identifier.isEmpty())
        return;
    m_detailVC = SettingsPanelFactory::create(identifier, m_editContainer);
    if (!m_detailVC) {
        m_emptyPanelLabel->show();
        return;
    }
    if (identifier == QLatin1String("sendEmail") || identifier == QLatin1String("sendMessage"))
        m_detailVC->setCatalog(drop->catalog());
    m_detailVC->setAction(drop);
    connect(m_detailVC, &SettingsPanel::reloadPreview, this, [this] {
        previewReload();
        Q_EMIT actionRenamed();
    });
    m_editLayout->insertWidget(0, m_detailVC);
    m_detailVC->show();
}

void ActionEditorPage::removeEditorSubviews()
{
    m_emptyPanelLabel->hide();
    if (m_detailVC) {
        m_detailVC->hide();
        m_detailVC->deleteLater();
        m_detailVC = nullptr;
    }
}

void ActionEditorPage::actionsCellViewAddBtnPressed(qint64, int type)
{
    const int row = m_dropList.appendDrop(type);
    insertActionRow(row);
    m_actionList->scrollToBottom();
    selectActionRow(row);
}

void ActionEditorPage::actionsTableViewDoubleClicked(qint64, int type)
{
    const int row = m_dropList.appendDrop(type);
    insertActionRow(row);
    m_actionList->scrollToBottom();
}

void ActionEditorPage::acceptDrop(qint64 type, int row)
{
    const int inserted = m_dropList.insertDrop(type, row);
    insertActionRow(inserted);
    selectActionRow(inserted);
}

void ActionEditorPage::moveDrop(int from, int row)
{
    const int to = m_dropList.moveDrop(from, row);
    if (to < 0)
        return;
    m_updatingSelection = true;
    delete m_actionList->takeItem(from);
    insertActionRow(to);
    m_actionList->setCurrentRow(m_dropList.currentPreviewSelectRow());
    m_updatingSelection = false;
    applyHighlight();
    qCDebug(lcEditor, "moved row %d to %d", from, to);
}

void ActionEditorPage::previewCellViewRemoveBtnPressed(const std::shared_ptr<DropListEntity> &drop)
{
    const int row = m_dropList.rowOf(drop);
    if (row < 0)
        return;
    if (row == m_dropList.currentPreviewSelectRow()) {
        removeEditorSubviews();
        m_infoView->hide();
    }
    m_dropList.removeDrop(drop);
    m_updatingSelection = true;
    // The view deletes the row's cell later, so the button that was pressed outlives its click.
    delete m_actionList->takeItem(row);
    m_actionList->setCurrentRow(m_dropList.currentPreviewSelectRow());
    m_updatingSelection = false;
    applyHighlight();
}

void ActionEditorPage::previewReload()
{
    for (int row = 0; row < m_actionList->count(); ++row) {
        if (ActionPreviewCell *cell = cellAt(row))
            cell->reload();
    }
    applyHighlight();
}

void ActionEditorPage::editAction(qint64 catalog, qint32 dropID)
{
    selectTypeRow(catalog == 1 ? 0 : 1);
    QTimer::singleShot(100, this, [this, dropID] {
        int row = 0;
        for (int i = 0; i < m_dropList.count(); ++i) {
            if (m_dropList.at(i)->dropID() == dropID) {
                row = i;
                break;
            }
        }
        selectActionRow(row);
        if (m_detailVC)
            m_detailVC->focusTitleField();
    });
}

void ActionEditorPage::showGuideView()
{
    if (Korvane::Settings::firstOpenPreference.read())
        return;
    Korvane::Settings::firstOpenPreference.write(true);
    auto *guide = new QFrame(this);
    guide->setObjectName(QStringLiteral("guideView"));
    guide->setFrameShape(QFrame::StyledPanel);
    guide->setAutoFillBackground(true);
    auto *text = new QLabel(qtTrId("editorGuide"));
    text->setWordWrap(true);
    auto *done = new QPushButton(qtTrId("editorGuideDone"));
    done->setDefault(true);
    auto *layout = new QVBoxLayout(guide);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(text);
    layout->addWidget(done, 0, Qt::AlignRight);
    // The wrapped text decides the height, in whatever font and language.
    const int guideWidth = 460;
    guide->setFixedSize(guideWidth, layout->heightForWidth(guideWidth));
    guide->move((width() - guide->width()) / 2, (height() - guide->height()) / 3);
    guide->show();
    guide->raise();
    m_guideView = guide;
    connect(done, &QPushButton::clicked, guide, &QWidget::deleteLater);
}

void ActionEditorPage::darkModeChanged()
{
    m_isDark = paletteIsDark(palette());
    for (int row = 0; row < m_actionList->count(); ++row) {
        if (ActionPreviewCell *cell = cellAt(row))
            cell->setDark(m_isDark);
    }
    QTreeWidgetItemIterator it(m_outline);
    for (; *it; ++it) {
        if (auto *cell = qobject_cast<ActionKindCell *>(m_outline->itemWidget(*it, 0)))
            cell->setDark(m_isDark);
        else
            (*it)->setForeground(0, palette().color(QPalette::PlaceholderText));
    }
    const int typeRow = m_typeList->currentRow();
    m_updatingSelection = true;
    buildTypeList();
    m_typeList->setCurrentRow(typeRow);
    m_updatingSelection = false;
}

void ActionEditorPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        darkModeChanged();
    QWidget::changeEvent(event);
}
