#pragma once

#include <QEasingCurve>
#include <QIcon>
#include <QWidget>

class QVariantAnimation;

// The button of an action row. Besides its title, icon, hotkey line and digit shortcut it
// shows the progress of the row's action as a bar filling the row, and the result as the
// bar turning green or red before it shrinks away.
//
// Result sequence: the result colour appears; 0.2 s later resultShown() is emitted and the
// bar shrinks; 0.5 s after the colour appeared the button turns off and finished() follows.
class FlatButton final : public QWidget
{
    Q_OBJECT

public:
    explicit FlatButton(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const;
    // Vertical shift of the title from the row's centre: -8 makes room for the hotkey line.
    void setTitleOffset(int offset);
    int titleOffset() const;
    void setIcon(const QIcon &icon);
    QIcon icon() const;
    void setHotKeyText(const QString &text);
    QString hotKeyText() const;
    void setShortcutText(const QString &text);
    QString shortcutText() const;

    // The highlighted (hovered or selected) look. Hovering turns it on and leaving turns it
    // off, unless the button ignores the mouse.
    void setOn(bool on);
    bool isOn() const;
    void setIgnoresMouse(bool ignores);
    bool ignoresMouse() const;

    void startHalfProgress();
    void startFullProgress();
    void finishProgress(bool success);
    // The share of the action's work done so far, from 0 to 1, as the action reports it. The
    // bar moves there without ever going back, and the result still comes from finishProgress.
    void showProgress(qreal fraction);

    qreal progress() const;
    bool isShowingResult() const;
    QColor barColor() const;
    static QColor successColor();
    static QColor failureColor();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr qreal kHalfProgress = 185.0 / 275.0;
    static constexpr int kHalfMs = 1200;
    static constexpr int kFullMs = 250;
    static constexpr int kFinishMs = 300;
    static constexpr int kStepMs = 100;
    static constexpr int kResultHoldMs = 200;
    static constexpr int kShrinkMs = 200;
    static constexpr int kTurnOffMs = 500;

Q_SIGNALS:
    void clicked();
    void contextMenuRequested(const QPoint &globalPos);
    void resultShown(bool success);
    void finished();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum class AfterBar { Nothing,
                          ShowSuccess,
                          ShowFailure };

    void runBar(qreal to, int durationMs, AfterBar after, QEasingCurve::Type easing);
    void onBarFinished();
    void showResult(bool success);
    void drawContent(QPainter &painter, const QColor &text, const QColor &secondary) const;
    QRectF frameRect() const;

    QVariantAnimation *m_bar = nullptr;
    QString m_title;
    QString m_hotKeyText;
    QString m_shortcutText;
    QIcon m_icon;
    int m_titleOffset = 0;
    qreal m_progress = 0.0;
    // Bumped by every start, so delayed steps of a superseded run do nothing.
    int m_run = 0;
    AfterBar m_afterBar = AfterBar::Nothing;
    bool m_on = false;
    bool m_ignoresMouse = false;
    bool m_pressed = false;
    bool m_showingResult = false;
    bool m_success = false;
};
