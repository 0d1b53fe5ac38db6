#pragma once

#include <QWidget>

#include <memory>

class DropListEntity;

// What the action editor asks of every settings panel: it is given the action record before
// it is shown, edits the record's title, hotkey and settings record, saves every change at
// once, and says when the list must show a change.
class SettingsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsPanel(QWidget *parent = nullptr);

    // The identifier of the panel for an action kind ("translationVC", "compressImage", ...);
    // empty for a kind without a panel.
    static QString identifierForKind(qint64 catalog, qint64 type);

    virtual void setAction(const std::shared_ptr<DropListEntity> &drop) = 0;
    // Mail and message panels serve both catalogs; the editor sets it before the record.
    virtual void setCatalog(qint64 catalog) { m_catalog = catalog; }
    virtual void focusTitleField() = 0;

Q_SIGNALS:
    // The action's title (or anything else the list shows) changed and was saved.
    void reloadPreview();

protected:
    qint64 m_catalog = 0;
};
