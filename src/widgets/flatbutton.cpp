#include "widgets/flatbutton.h"

#include <QContextMenuEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVariantAnimation>

#include <algorithm>

namespace {

constexpr qreal kRadius = 7.0;
constexpr int kInsetX = 4;
constexpr int kInsetY = 2;
constexpr int kIconSize = 28;
constexpr int kPadding = 8;
// Between the title and the shortcut beside it, which is drawn small and grey.
constexpr int kShortcutGap = 6;
constexpr int kHotKeyLineOffset = 10;

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor withAlpha(QColor color, qreal alpha)
{
    color.setAlphaF(alpha);
    return color;
}

QFont scaledFont(const QFont &base, qreal factor)
{
    QFont font = base;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else
        font.setPixelSize(qRound(font.pixelSize() * factor));
    return font;
}

} // namespace

FlatButton::FlatButton(QWidget *parent)
    : QWidget(parent)
    , m_bar(new QVariantAnimation(this))
{
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_bar, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_progress = value.toReal();
        update();
    });
    connect(m_bar, &QVariantAnimation::finished, this, &FlatButton::onBarFinished);
}

void FlatButton::setTitle(const QString &title)
{
    m_title = title;
    update();
}

QString FlatButton::title() const
{
    return m_title;
}

void FlatButton::setTitleOffset(int offset)
{
    m_titleOffset = offset;
    update();
}

int FlatButton::titleOffset() const
{
    return m_titleOffset;
}

void FlatButton::setIcon(const QIcon &icon)
{
    m_icon = icon;
    update();
}

QIcon FlatButton::icon() const
{
    return m_icon;
}

void FlatButton::setHotKeyText(const QString &text)
{
    m_hotKeyText = text;
    update();
}

QString FlatButton::hotKeyText() const
{
    return m_hotKeyText;
}

void FlatButton::setShortcutText(const QString &text)
{
    m_shortcutText = text;
    update();
}

QString FlatButton::shortcutText() const
{
    return m_shortcutText;
}

void FlatButton::setOn(bool on)
{
    if (m_on == on)
        return;
    m_on = on;
    update();
}

bool FlatButton::isOn() const
{
    return m_on;
}

void FlatButton::setIgnoresMouse(bool ignores)
{
    m_ignoresMouse = ignores;
    if (ignores)
        m_pressed = false;
}

bool FlatButton::ignoresMouse() const
{
    return m_ignoresMouse;
}

void FlatButton::startHalfProgress()
{
    ++m_run;
    m_showingResult = false;
    m_progress = 0.0;
    runBar(kHalfProgress, kHalfMs, AfterBar::Nothing, QEasingCurve::OutCubic);
}

void FlatButton::startFullProgress()
{
    ++m_run;
    m_showingResult = false;
    m_progress = 0.0;
    runBar(1.0, kFullMs, AfterBar::ShowSuccess, QEasingCurve::InOutQuad);
}

void FlatButton::finishProgress(bool success)
{
    // The result is already on its way or shown; a second answer changes nothing.
    if (m_showingResult || m_afterBar != AfterBar::Nothing)
        return;
    runBar(1.0, kFinishMs, success ? AfterBar::ShowSuccess : AfterBar::ShowFailure,
           QEasingCurve::InOutQuad);
}

void FlatButton::showProgress(qreal fraction)
{
    if (m_showingResult || m_afterBar != AfterBar::Nothing)
        return;
    // Real figures replace the estimate of startHalfProgress; where the estimate ran ahead,
    // the bar waits for them to catch up.
    m_bar->stop();
    const qreal target = std::clamp(fraction, 0.0, 1.0);
    if (target > m_progress)
        runBar(target, kStepMs, AfterBar::Nothing, QEasingCurve::Linear);
}

qreal FlatButton::progress() const
{
    return m_progress;
}

bool FlatButton::isShowingResult() const
{
    return m_showingResult;
}

QColor FlatButton::barColor() const
{
    if (m_showingResult)
        return m_success ? successColor() : failureColor();
    return palette().color(QPalette::Highlight);
}

QColor FlatButton::successColor()
{
    return QColor::fromRgbF(0.114f, 0.843f, 0.267f, 1.0f);
}

QColor FlatButton::failureColor()
{
    return QColor::fromRgbF(1.0f, 0.149f, 0.290f, 1.0f);
}

QSize FlatButton::sizeHint() const
{
    return QSize(300, 50);
}

QSize FlatButton::minimumSizeHint() const
{
    return QSize(120, 40);
}

void FlatButton::runBar(qreal to, int durationMs, AfterBar after, QEasingCurve::Type easing)
{
    m_bar->stop();
    m_afterBar = after;
    m_bar->setStartValue(m_progress);
    m_bar->setEndValue(to);
    m_bar->setDuration(durationMs);
    m_bar->setEasingCurve(easing);
    m_bar->start();
}

void FlatButton::onBarFinished()
{
    const AfterBar after = m_afterBar;
    m_afterBar = AfterBar::Nothing;
    if (after != AfterBar::Nothing)
        showResult(after == AfterBar::ShowSuccess);
}

void FlatButton::showResult(bool success)
{
    m_showingResult = true;
    m_success = success;
    m_progress = 1.0;
    update();

    const int run = m_run;
    QTimer::singleShot(kResultHoldMs, this, [this, run, success] {
        if (run != m_run)
            return;
        runBar(0.0, kShrinkMs, AfterBar::Nothing, QEasingCurve::InCubic);
        Q_EMIT resultShown(success);
    });
    QTimer::singleShot(kTurnOffMs, this, [this, run] {
        if (run != m_run)
            return;
        m_bar->stop();
        m_progress = 0.0;
        m_showingResult = false;
        setOn(false);
        update();
        Q_EMIT finished();
    });
}

QRectF FlatButton::frameRect() const
{
    return QRectF(rect()).adjusted(kInsetX, kInsetY, -kInsetX, -kInsetY);
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const bool dark = isDark(palette());
    const QRectF frame = frameRect();
    QPainterPath shape;
    shape.addRoundedRect(frame, kRadius, kRadius);
    const QColor accent = palette().color(QPalette::Highlight);

    if (m_on)
        painter.fillPath(shape, withAlpha(accent, dark ? 0.30 : 0.16));

    const QColor text = palette().color(QPalette::WindowText);
    const QColor secondary = withAlpha(text, dark ? 0.55 : 0.5);
    QRectF bar = frame;
    bar.setWidth(frame.width() * std::clamp(m_progress, 0.0, 1.0));
    if (bar.width() <= 0.0) {
        drawContent(painter, text, secondary);
        return;
    }

    painter.save();
    painter.setClipPath(shape);
    if (m_showingResult) {
        painter.fillRect(bar, barColor());
    } else {
        // Running: a translucent wash that strengthens towards its leading edge.
        QLinearGradient wash(bar.topLeft(), bar.topRight());
        wash.setColorAt(0.0, withAlpha(accent, dark ? 0.22 : 0.12));
        wash.setColorAt(1.0, withAlpha(accent, dark ? 0.50 : 0.34));
        painter.fillRect(bar, wash);
        painter.fillRect(QRectF(bar.right() - 2.0, bar.top(), 2.0, bar.height()),
                         withAlpha(accent, 0.85));
    }
    painter.restore();

    if (!m_showingResult) {
        drawContent(painter, text, secondary);
        return;
    }
    // On the solid result colour the text turns white; beside the bar it keeps its colour.
    QPainterPath beside;
    beside.addRect(QRectF(bar.right(), 0, width() - bar.right(), height()));
    painter.save();
    painter.setClipPath(beside);
    drawContent(painter, text, secondary);
    painter.restore();
    painter.save();
    painter.setClipRect(bar);
    drawContent(painter, Qt::white, withAlpha(Qt::white, 0.85));
    painter.restore();
}

void FlatButton::drawContent(QPainter &painter, const QColor &text,
                             const QColor &secondary) const
{
    const QRectF frame = frameRect();
    const qreal centreY = frame.center().y();

    qreal left = frame.left() + kPadding;
    if (!m_icon.isNull()) {
        const QRectF iconRect(left, centreY - kIconSize / 2.0, kIconSize, kIconSize);
        m_icon.paint(&painter, iconRect.toAlignedRect());
        left = iconRect.right() + kPadding;
    }

    qreal right = frame.right() - kPadding;
    if (!m_shortcutText.isEmpty()) {
        const QFont small = scaledFont(font(), 0.88);
        const QFontMetricsF metrics(small);
        const qreal w = metrics.horizontalAdvance(m_shortcutText);
        painter.setFont(small);
        painter.setPen(secondary);
        painter.drawText(QRectF(right - w, frame.top(), w, frame.height()),
                         Qt::AlignRight | Qt::AlignVCenter, m_shortcutText);
        right -= w + kShortcutGap;
    }
    const qreal textWidth = std::max<qreal>(0.0, right - left);

    const QFont titleFont = scaledFont(font(), 1.05);
    const QFontMetricsF titleMetrics(titleFont);
    painter.setFont(titleFont);
    painter.setPen(text);
    const QRectF titleRect(left, centreY + m_titleOffset - titleMetrics.height() / 2.0, textWidth,
                           titleMetrics.height());
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(m_title, Qt::ElideRight, textWidth));

    if (!m_hotKeyText.isEmpty()) {
        const QFont small = scaledFont(font(), 0.85);
        const QFontMetricsF metrics(small);
        painter.setFont(small);
        painter.setPen(secondary);
        const QRectF hotKeyRect(left, centreY + kHotKeyLineOffset - metrics.height() / 2.0,
                                textWidth, metrics.height());
        painter.drawText(hotKeyRect, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(m_hotKeyText, Qt::ElideRight, textWidth));
    }
}

void FlatButton::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (m_ignoresMouse)
        return;
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    else if (event->button() == Qt::RightButton)
        Q_EMIT contextMenuRequested(event->globalPosition().toPoint());
}

void FlatButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && !m_ignoresMouse && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void FlatButton::contextMenuEvent(QContextMenuEvent *event)
{
    // A right press has already asked for the menu; only the keyboard's menu key is new here.
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse && !m_ignoresMouse)
        Q_EMIT contextMenuRequested(mapToGlobal(rect().center()));
}

void FlatButton::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (!m_ignoresMouse)
        setOn(true);
}

void FlatButton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!m_ignoresMouse)
        setOn(false);
}

void FlatButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        update();
}
