#pragma once

#include "shell/editor/editordroplist.h"

#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <memory>

class ActionListView;
class ActionOutlineView;
class ActionTreeNode;
class ActionPreviewCell;
#include <QFrame>
class QLabel;
class QListWidget;
class QVBoxLayout;
#include "shell/editor/settingspanel.h"

// The action editor: the two data types, the catalog of action kinds of the chosen one, the
// actions configured for it, and the settings panel of the chosen action. Every change goes
// to the store at once.
class ActionEditorPage final : public QWidget
{
    Q_OBJECT

public:
    explicit ActionEditorPage(QWidget *parent = nullptr);
    ~ActionEditorPage() override;

    qint64 currentCatalog() const { return m_dropList.catalog(); }
    const EditorDropList &dropList() const { return m_dropList; }
    int currentPreviewSelectRow() const { return m_dropList.currentPreviewSelectRow(); }
    SettingsPanel *detailVC() const { return m_detailVC; }
    bool isDark() const { return m_isDark; }

    QListWidget *typeListView() const { return m_typeList; }
    ActionOutlineView *outlineView() const { return m_outline; }
    ActionListView *actionListView() const { return m_actionList; }
    QWidget *editContainer() const { return m_editContainer; }
    QWidget *infoView() const { return m_infoView; }
    QWidget *guideView() const { return m_guideView; }

    void readyData();
    void changeDropListData(qint64 catalog);
    void reloadTreeView();
    void previewReload();
    void showGuideView();
    void selectTypeRow(int row);
    void selectActionRow(int row);
    void actionsCellViewAddBtnPressed(qint64 catalog, int type);
    void actionsTableViewDoubleClicked(qint64 catalog, int type);
    void previewCellViewRemoveBtnPressed(const std::shared_ptr<DropListEntity> &drop);
    void acceptDrop(qint64 type, int row);
    void moveDrop(int from, int row);
    // Shows the action in its catalog's list and its settings, its title ready for editing;
    // the list's first action when it is gone.
    void editAction(qint64 catalog, qint32 dropID);
    void removeEditorSubviews();
    void darkModeChanged();

Q_SIGNALS:
    // An action's title changed, as other lists of the actions show it.
    void actionRenamed();

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildTypeList();
    void buildActionList();
    void insertActionRow(int row);
    void showInfo(const QString &title, const QString &description, bool tinted);
    void applyHighlight();
    ActionPreviewCell *cellAt(int row) const;

    EditorDropList m_dropList;
    std::unique_ptr<ActionTreeNode> m_textTree;
    std::unique_ptr<ActionTreeNode> m_fileTree;
    QListWidget *m_typeList;
    QLabel *m_listTitle;
    ActionOutlineView *m_outline;
    ActionListView *m_actionList;
    QFrame *m_infoView;
    QLabel *m_infoTitle;
    QLabel *m_infoDescription;
    QWidget *m_editContainer;
    QVBoxLayout *m_editLayout;
    QLabel *m_emptyPanelLabel;
    QLabel *m_writeProblem;
    QWidget *m_guideView = nullptr;
    QPointer<SettingsPanel> m_detailVC;
    bool m_isDark = false;
    bool m_updatingSelection = false;
};
