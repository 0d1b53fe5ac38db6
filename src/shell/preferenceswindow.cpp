#include "shell/preferenceswindow.h"

#include "shell/aboutpage.h"
#include "shell/actioniconprovider.h"
#include "shell/generalsettingspage.h"
#include "shell/editor/actioneditorpage.h"
#include "shell/preferencestabs.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPropertyAnimation>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

PreferencesWindow::PreferencesWindow(Autostart *autostart, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_tabs(new PreferencesTabs)
    , m_editor(new ActionEditorPage)
    , m_general(new GeneralSettingsPage(autostart))
    , m_about(new AboutPage)
    , m_resize(new QPropertyAnimation(this, "geometry", this))
{
    setObjectName(QStringLiteral("PreferencesWindow"));
    const QColor tint = palette().color(QPalette::WindowText);
    // One family of one-colour images, as the desktops' own preference windows have.
    const auto image = [this, tint](const char *name) {
        return QIcon(ActionIconProvider::symbolicImage(QStringLiteral(":/images/%1.svg").arg(QLatin1String(name)), 24, tint, devicePixelRatioF()));
    };
    m_tabs->addTab(m_editor, qtTrId("actionEditorTab"), image("actions"), QSize(1120, 650));
    m_tabs->addTab(m_general, qtTrId("generalTab"), image("settings"), QSize(500, 390));
    m_tabs->addTab(m_about, qtTrId("aboutTab"), image("about"), QSize(650, 350));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    m_resize->setDuration(180);
    m_resize->setEasingCurve(QEasingCurve::OutCubic);

    connect(m_tabs, &PreferencesTabs::tabSelected, this, &PreferencesWindow::tabSelected);
    connect(m_general, &GeneralSettingsPage::quitApp, this, &PreferencesWindow::quitRequested);
    connect(m_general, &GeneralSettingsPage::hideIconChanged, this, &PreferencesWindow::setHiddenFromTaskbar);
    // Either w or W with the control key; a shortcut of W alone would miss Ctrl+Shift+W.
    for (const QKeySequence &sequence : {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)}) {
        auto *shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    m_tabs->setCurrentIndex(PreferencesTabs::EditorTab);
}

PreferencesWindow::~PreferencesWindow() = default;

int PreferencesWindow::tabForName(const QString &name)
{
    if (name == QLatin1String("editor"))
        return PreferencesTabs::EditorTab;
    if (name == QLatin1String("general"))
        return PreferencesTabs::GeneralTab;
    if (name == QLatin1String("about"))
        return PreferencesTabs::AboutTab;
    return -1;
}

void PreferencesWindow::showWindowWithTab(int tab)
{
    if (tab >= 0 && tab != m_tabs->currentIndex())
        m_tabs->setCurrentIndex(tab);
    show();
    raise();
    activateWindow();
}

void PreferencesWindow::tabSelected(int index)
{
    setWindowTitle(qtTrId("preferencesWindowTitle").arg(m_tabs->tabTitle(index)));
    const QSize content = m_tabs->contentSize(index);
    const QSize needed(content.width(), content.height() + m_tabs->barHeight());
    // An open window only grows: a page that needs less leaves it as the user sees it.
    const QSize wanted = isVisible() ? size().expandedTo(needed) : needed;
    m_resize->stop();
    if (!isVisible()) {
        resize(wanted);
        return;
    }
    // The top edge stays where it is; the window grows or shrinks downwards and to the right.
    m_resize->setStartValue(geometry());
    m_resize->setEndValue(QRect(geometry().topLeft(), wanted));
    m_resize->start();
    if (index == PreferencesTabs::EditorTab)
        m_editor->showGuideView();
}

void PreferencesWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_tabs->currentIndex() == PreferencesTabs::EditorTab)
        QTimer::singleShot(0, m_editor, &ActionEditorPage::showGuideView);
}

void PreferencesWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    hide();
}

void PreferencesWindow::setHiddenFromTaskbar(bool hidden)
{
    if (windowFlags().testFlag(Qt::Tool) == hidden)
        return;
    const bool wasVisible = isVisible();
    // Tool windows stay out of taskbars and task switchers.
    setWindowFlag(Qt::Tool, hidden);
    if (wasVisible)
        show();
}
