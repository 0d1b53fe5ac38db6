#include "shell/actionrow.h"

#include "shell/actioniconprovider.h"
#include "intake/droppayload.h"
#include "store/droplistentity.h"
#include "widgets/flatbutton.h"
#include "actions/actionjob.h"
#include "actions/actionrunner.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "platform/soundplayer.h"
#include "shortcuts/keycombinationtext.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QTimer>

namespace {

// A synchronous action has finished when its report arrives, but its row stays deaf this long
// after, so that a digit pressed twice in quick succession runs it once.
constexpr int kSynchronousRowRestMs = 300;

} // namespace

ActionRow::ActionRow(QWidget *parent)
    : QWidget(parent)
    , m_button(new FlatButton(this))
    , m_opacity(new QGraphicsOpacityEffect(this))
{
    setAcceptDrops(true);
    // The space between buttons belongs to the rows: a drag between two buttons is still over
    // a row, and the list can be measured in whole rows.
    setFixedHeight(rowHeight);
    m_opacity->setOpacity(1.0);
    setGraphicsEffect(m_opacity);
    auto *layout = new QHBoxLayout(this);
    // Narrow sides: the popover is 300 wide and the default titles must fit beside a shortcut.
    layout->setContentsMargins(4, 7, 4, 7);
    layout->addWidget(m_button);
    connect(m_button, &FlatButton::clicked, this, &ActionRow::onClickBtn);
    // The button covers the row and takes the right press itself, so the menu comes from it.
    connect(m_button, &FlatButton::contextMenuRequested, this, &ActionRow::showRowMenu);
    connect(m_button, &FlatButton::resultShown, this, [this](bool) {
        if (!Korvane::Settings::muteSound.read())
            Platform::soundPlayer()->play(QStringLiteral("Pop"));
        Q_EMIT runStateChanged(m_row, false);
    });
}

QString ActionRow::shortcutLabel(int row)
{
    if (row < 0 || row >= 10)
        return QString();
    return QStringLiteral("Alt+%1").arg(row == 9 ? 0 : row + 1);
}

void ActionRow::setRow(int row)
{
    m_row = row;
    m_button->setShortcutText(shortcutLabel(row));
}

void ActionRow::setDropAction(const std::shared_ptr<DropListEntity> &drop)
{
    m_dropAction = drop;
    m_button->setTitle(drop->title());
    m_button->setIcon(QIcon(ActionIconProvider::iconForAction(drop->catalog(), drop->type(), 28, devicePixelRatioF())));
    if (!drop->hasHotKey()) {
        m_button->setHotKeyText(QString());
        m_button->setTitleOffset(0);
    } else {
        m_button->setHotKeyText(KeyCombinationText::text(drop->keyCombination().value_or(QKeyCombination())));
        m_button->setTitleOffset(-8);
    }
}

void ActionRow::setRunningRow(int runningRow, bool running)
{
    m_button->setIgnoresMouse(running);
    m_opacity->setOpacity(running && runningRow != m_row ? 0.2 : 1.0);
}

void ActionRow::setLitRow(int row)
{
    if (!m_button->ignoresMouse())
        m_button->setOn(row == m_row);
}

void ActionRow::runIfLit()
{
    if (m_button->isOn() && !m_button->ignoresMouse()) {
        m_button->setOn(false);
        onClickBtn();
    }
}

void ActionRow::putOut()
{
    if (!m_stopAction)
        m_button->setOn(false);
}

void ActionRow::runShortcut(int row)
{
    if (row == m_row)
        onClickBtn();
    else if (!m_button->ignoresMouse())
        m_button->setOn(false);
}

bool ActionRow::start(const DropPayload &payload)
{
    if (m_stopAction || !m_dropAction || m_button->ignoresMouse())
        return false;
    Q_EMIT lightRequested(m_row);
    handleAction(payload);
    return true;
}

void ActionRow::onClickBtn()
{
    if (m_stopAction || !m_dropAction)
        return;
    Q_EMIT lightRequested(m_row);
    handleAction(m_payloadSource ? m_payloadSource(m_dropAction->catalog() == 0) : DropPayload());
}

void ActionRow::handleAction(const DropPayload &payload)
{
    if (!m_dropAction)
        return;
    m_stopAction = true;
    Q_EMIT runStateChanged(m_row, true);

    bool reportsResult = true;
    const bool runnable = ActionRunner::canRun(*m_dropAction, &reportsResult);
    // A synchronous action shows success whatever it did, a kind this build cannot run shows
    // failure, and an action that found nothing to work on leaves the row as it is.
    if (runnable && !reportsResult)
        m_button->startFullProgress();
    else
        m_button->startHalfProgress();
    ActionJob *job = ActionRunner::start(m_dropAction, payload);
    connect(job, &ActionJob::progressed, this, [this](qint64 done, qint64 total) {
        if (total > 0)
            m_button->showProgress(qreal(done) / qreal(total));
    });
    connect(job, &ActionJob::finished, this, [this, runnable, reportsResult](const ActionResult &result) {
        if (!runnable)
            finish(false);
        else if (result.outcome != Korvane::Outcome::NothingToReport)
            finish(result.outcome == Korvane::Outcome::Succeeded);
        else if (!reportsResult)
            QTimer::singleShot(kSynchronousRowRestMs, this, [this] { m_stopAction = false; });
    });
}

void ActionRow::finish(bool success)
{
    m_button->finishProgress(success);
    m_stopAction = false;
}

void ActionRow::dragEnterEvent(QDragEnterEvent *event)
{
    // While another row runs this one is deaf: it refuses the drop it would not run.
    if (m_button->ignoresMouse()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Only the row under the pointer is lit, as after a click.
    Q_EMIT lightRequested(m_row);
}

void ActionRow::dragLeaveEvent(QDragLeaveEvent *event)
{
    event->accept();
    if (!m_button->ignoresMouse())
        m_button->setOn(false);
}

void ActionRow::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_button->ignoresMouse()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ActionRow::dropEvent(QDropEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
    performDragOperation();
}

void ActionRow::performDragOperation()
{
    // The data was classified when the drag entered the drop area; a drop runs on that.
    if (!m_stopAction && !m_button->ignoresMouse())
        handleAction(m_payloadSource ? m_payloadSource(false) : DropPayload());
}

void ActionRow::contextMenuEvent(QContextMenuEvent *event)
{
    showRowMenu(event->globalPos());
}

void ActionRow::showRowMenu(const QPoint &globalPos)
{
    if (!m_dropAction)
        return;
    QMenu menu;
    QAction *edit = menu.addAction(qtTrId("edit"));
    edit->setToolTip(qtTrId("editTip"));
    if (menu.exec(globalPos) == edit)
        Q_EMIT editRequested(m_dropAction);
    else
        Q_EMIT menuDismissed();
}
