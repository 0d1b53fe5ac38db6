#pragma once

#include <QStringList>
#include <QWidget>

class KorvanePasteboard;
class QVBoxLayout;

// A small normal window with the drop-here look, for desktops where no client sees a drag
// near the tray icon (Wayland): dropping on it lists the fitting actions, dropping on one of
// its rows runs that action. Any window system's drag and drop reaches it.
class DropWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit DropWindow(QWidget *parent = nullptr);

    // Rebuilds the rows from the store when its actions changed: every action, text actions
    // first.
    void reloadActions();

Q_SIGNALS:
    void dropped(const KorvanePasteboard &pasteboard);
    void droppedOnAction(qint32 dropID, const KorvanePasteboard &pasteboard);

protected:
    bool event(QEvent *event) override;

private:
    QVBoxLayout *m_rowLayout;
    // What the rows show, one line per action, to tell whether the store changed them.
    QStringList m_shownActions;
};
