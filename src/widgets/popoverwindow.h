#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

class QPainterPath;
class QPropertyAnimation;

// A frameless window drawn by Korvane: a rounded panel with an arrow pointing at an anchor
// rectangle (the tray icon), used for the drop-here and the main popover. It never grabs
// input, so its children stay ordinary drop targets while another application drags.
//
// It activates itself when shown unless Qt::WA_ShowWithoutActivating is set (the drop-here
// popover sets it: activation in the middle of a drag disturbs some drag sources).
class PopoverWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit PopoverWindow(QWidget *parent = nullptr);
    ~PopoverWindow() override;

    void setContentWidget(QWidget *content);
    QWidget *contentWidget() const;

    void setBackgroundColorName(const QString &name);
    QString backgroundColorName() const;
    // The background for the current appearance; the palette's window colour when the name
    // is unknown.
    QColor backgroundColor() const;
    QColor borderColor() const;

    static QColor namedColor(const QString &name, bool dark);
    static bool isDarkPalette(const QPalette &palette);

    // How the window system shows popovers, asked at each showing since a compositing manager
    // may start or stop: whether translucent pixels and window opacity reach the screen, and
    // whether window opacity is carried out at all. Only the platform layer can tell; until
    // the shell hands its answers over, translucency shows and nothing fades.
    static void setWindowSystemQueries(const std::function<bool()> &composites,
                                       const std::function<bool()> &carriesOpacity);

    // An empty anchor shows the popover without an arrow, where the window system puts it
    // (Wayland compositors place windows themselves); elsewhere in the middle of the screen.
    void showRelativeToRect(const QRect &anchor);
    // Fades out, then hides and emits closed().
    void dismiss();
    // Whether opening and closing fade. By default they do where the window system carries
    // window opacity out: X11 with a compositing manager.
    void setFadeEnabled(bool enabled);
    void forceClose();
    // True from showRelativeToRect() until closed(), fade-out included, so a click on the
    // tray icon during the fade still reads as "visible" and toggles it closed.
    bool isShown() const;

    Qt::Edge arrowEdge() const;
    // Global position of the arrow's tip.
    QPoint arrowTip() const;
    // The outline in widget coordinates; also the window mask when nothing composites.
    QRegion shapeRegion() const;

    static constexpr int kArrowLength = 10;
    static constexpr int kArrowHalfWidth = 11;
    static constexpr int kCornerRadius = 10;
    static constexpr int kContentMargin = 6;
    static constexpr int kFadeMs = 120;

Q_SIGNALS:
    void closed();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    enum class State { Hidden,
                       Shown,
                       Closing };

    void place();
    bool hasArrow() const { return !m_anchor.isEmpty(); }
    // Moves and sizes the window to frame and lays the content out in it.
    void setFrame(const QRect &frame);
    QSize preferredContentSize();
    QRect bodyRect() const;
    QPainterPath outline() const;
    void layoutContent();
    void finishClose();
    void watchApplication(bool watch);
    // Whether a loss of activation means the user left: once the popover had it, or always
    // for one that never takes it.
    bool leftByDeactivation() const;
    // Follows drags over the platform window; refuses those that outlive the popover.
    bool filterDrag(QEvent *event);

    QPointer<QWidget> m_content;
    QPropertyAnimation *m_fade = nullptr;
    QString m_colorName;
    QRect m_anchor;
    QSize m_requestedSize;
    QSize m_assignedSize;
    State m_state = State::Hidden;
    Qt::Edge m_arrowEdge = Qt::TopEdge;
    int m_arrowOffset = 0;
    std::optional<bool> m_fadeEnabled;
    bool m_compositing = true;
    bool m_fading = false;
    bool m_layingOut = false;
    bool m_watching = false;
    bool m_dragOver = false;
    // Whether activation reached the popover since it was shown: a loss of activation before
    // that is left over from the window that had it, not the user leaving.
    bool m_activated = false;
};
