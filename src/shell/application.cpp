#include "shell/application.h"

#include "platform/dbus/dbusnotifier.h"
#include "shell/dropwindow.h"
#include "shell/editor/actioneditorpage.h"
#include "shell/generalsettingspage.h"
#include "shell/shortcutbindingreporter.h"
#include "widgets/accessibility.h"
#include "widgets/popoverwindow.h"
#include "platform/singleinstance.h"
#include "shell/preferenceswindow.h"
#include "platform/xdg/xdgautostart.h"
#include "platform/qt/desktopurlopener.h"
#include "platform/qt/guiclipboard.h"
#include "platform/qt/desktopplatform.h"
#include "store/droplistentity.h"
#include "store/actionstore.h"
#include "platform/globalshortcutbackend.h"
#include "platform/platform.h"
#include "platform/notification.h"
#include "platform/soundplayer.h"
#include "actions/text/translations.h"
#include "platform/settings.h"
#include "actions/file/filemanager.h"
#include "shortcuts/globalshortcutregistry.h"
#include "shortcuts/keycombinationtext.h"
#include "shell/trayicon.h"
#include "platform/dbus/statusnotifiertracker.h"
#include "shell/shelllogging.h"

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QGuiApplication>
#include <QStringList>
#include <QSystemTrayIcon>

#include <cstdio>

namespace Korvane {

Application::Application()
    : m_autostart(std::make_unique<XdgAutostart>())
{
}

Application::~Application() = default;

void Application::start(SingleInstance *instance)
{
    Accessibility::install();
    PopoverWindow::setWindowSystemQueries(&DesktopPlatform::composites,
                                          &DesktopPlatform::carriesWindowOpacity);
    Platform::setClipboard(std::make_unique<GuiClipboard>());
    auto notifier = std::make_unique<DBusNotifier>();
    notifier->setFallback([this](const Notification &content) { showWithoutNotificationService(content); });
    Platform::setNotifier(std::move(notifier));
    Platform::setUrlOpener(std::make_unique<DesktopUrlOpener>());
    Platform::setShortcutBackend(DesktopPlatform::createShortcutBackend());
    Platform::setSoundPlayer(DesktopPlatform::createSoundPlayer());
    Translations::install(Platform::settingsBackend()->preferredLanguages());
    m_bindingReporter = std::make_unique<ShortcutBindingReporter>(GlobalShortcutRegistry::instance());

    ActionStore *store = ActionStore::instance();
    if (!store->openStore())
        qCWarning(lcShell, "running without actions: %s", qUtf8Printable(store->storeError()));
    FileManager::recoverRenames();
    store->initializationDefaultData();
    registerActionShortcuts();

    m_trayIcon = std::make_unique<TrayIcon>();
    connect(m_trayIcon.get(), &TrayIcon::openAboutRequested, this, [this] { openPreferencesTab(2); });
    connect(m_trayIcon.get(), &TrayIcon::openPreferencesRequested, this, &Application::openPreferencesTab);
    connect(m_trayIcon.get(), &TrayIcon::openDropWindowRequested, this, &Application::openDropWindow);
    connect(m_trayIcon.get(), &TrayIcon::editActionRequested, this, [this](const DropListEntityPtr &drop) {
        openPreferencesTab(0);
        preferencesWindow()->editor()->editAction(drop->catalog(), drop->dropID());
    });
    if (instance) {
        connect(instance, &SingleInstance::requested, this, &Application::openPreferences);
        connect(instance, &SingleInstance::showRequested, this, &Application::show);
        connect(instance, &SingleInstance::showActionRequested, this, &Application::showAction);
        connect(instance, &SingleInstance::dropRequested, this, &Application::drop);
        connect(instance, &SingleInstance::dropWindowRequested, this, &Application::openDropWindow);
    }
    GeneralSettingsPage::setAutoLaunchAtStart(m_autostart.get());
    // The wake hotkey is written at the first start, so its absence tells that start.
    const bool firstStart = !Settings::wakeHotKey.isSet();
    registerWakeShortcut();
    const bool trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    if (!trayAvailable) {
        qCWarning(lcShell, "no system tray is available; the wake hotkey and the command line still work");
        std::fprintf(stderr, "korvane: no system tray is available\n");
    }
    tellHowToReachKorvane(firstStart, trayAvailable);
    if (Settings::keepDropWindow.read())
        openDropWindow();
    qCInfo(lcShell, "Korvane %s started with %lld actions", qUtf8Printable(QCoreApplication::applicationVersion()),
           qint64(store->getAllDrops().size()));
}

void Application::tellHowToReachKorvane(bool firstStart, bool trayAvailable)
{
    // A desktop without a tray is told once, even after the first start: it may have lost
    // its tray since, and the user sees nothing of Korvane there.
    const bool tellNoTray = !trayAvailable && !Settings::noTrayNoticeShown.read();
    if (!firstStart && !tellNoTray) {
        m_bindingReporter->review(GlobalShortcutRegistry::WakeShortcutName);
        return;
    }
    if (tellNoTray)
        Settings::noTrayNoticeShown.write(true);
    // The notice names a key only once the desktop has bound it to Korvane.
    m_bindingReporter->whenWakeSettled([firstStart, trayAvailable](const GlobalShortcutBackend::Binding &binding) {
        const QString key = ShortcutBindingReporter::fieldText(GlobalShortcutRegistry::storedWakeKeys().value_or(QKeyCombination()), binding);
        const bool bound = binding.state == GlobalShortcutBackend::Binding::Bound && !key.isEmpty();
        QStringList paragraphs;
        if (trayAvailable) {
            paragraphs.append(qtTrId("trayFirstStart"));
            paragraphs.append(bound ? qtTrId("wakeKeyBound").arg(key) : ShortcutBindingReporter::withoutWakeKey(binding));
        } else if (bound) {
            paragraphs.append(qtTrId("noTrayInfo").arg(key));
        } else {
            paragraphs.append(qtTrId("noTrayInfoNoHotKey"));
            if (const QString cause = ShortcutBindingReporter::warning(binding); !cause.isEmpty())
                paragraphs.append(cause);
            paragraphs.append(ShortcutBindingReporter::howToBind());
        }
        // Starting at login is switched on without asking; the user learns where it is switched off.
        if (firstStart && !Settings::noAutoLaunch.read())
            paragraphs.append(qtTrId("startsAtLogin"));
        Notification content;
        content.title = qtTrId("noTrayTitle");
        content.body = paragraphs.join(QLatin1Char('\n'));
        Platform::notifier()->post(content);
    });
}

void Application::showWithoutNotificationService(const Notification &content)
{
    // A StatusNotifier tray shows its messages through the very service that is missing.
    QSystemTrayIcon *tray = m_trayIcon ? m_trayIcon->statusItem() : nullptr;
    if (tray && !m_trayIcon->statusNotifier()->isHostRegistered() && QSystemTrayIcon::isSystemTrayAvailable()) {
        const QIcon icon(content.attachmentImage);
        tray->showMessage(content.title, content.body, icon.isNull() ? tray->icon() : icon);
        return;
    }
    std::fprintf(stderr, "korvane: %s: %s\n", qUtf8Printable(content.title), qUtf8Printable(content.body));
}

void Application::registerActionShortcuts()
{
    GlobalShortcutRegistry *registry = GlobalShortcutRegistry::instance();
    const QList<DropListEntityPtr> drops = ActionStore::instance()->getAllDrops();
    for (const DropListEntityPtr &drop : drops) {
        if (drop->hasHotKey() && !registry->registerActionShortcut(*drop))
            qCWarning(lcShell, "the hotkey %s of the action %d could not be registered", qUtf8Printable(GlobalShortcutRegistry::actionShortcutName(*drop)),
                      drop->dropID());
    }
}

void Application::registerWakeShortcut()
{
    const Setting<StoredShortcut> &setting = Settings::wakeHotKey;
    if (!setting.stored())
        setting.write(setting.defaultValue());
    if (!GlobalShortcutRegistry::instance()->registerWakeShortcut())
        qCWarning(lcShell, "the wake hotkey %s is held by another program; it stays stored",
                  qUtf8Printable(KeyCombinationText::text(GlobalShortcutRegistry::storedWakeKeys().value_or(QKeyCombination()))));
}

void Application::show()
{
    m_trayIcon->toggleClipboardList();
}

void Application::showAction(qint32 dropID)
{
    const DropListEntityPtr drop = ActionStore::instance()->fetchDropWithID(dropID);
    if (!drop) {
        qCWarning(lcShell, "no action has the dropID %d", dropID);
        return;
    }
    m_trayIcon->runActionOnClipboard(drop);
}

void Application::drop(const TransferData &pasteboard)
{
    m_trayIcon->dropData(pasteboard);
}

DropWindow *Application::dropWindow()
{
    if (!m_dropWindow) {
        m_dropWindow = std::make_unique<DropWindow>();
        connect(m_dropWindow.get(), &DropWindow::dropped, this, &Application::drop);
        connect(m_dropWindow.get(), &DropWindow::droppedOnAction, this, [this](qint32 dropID, const TransferData &pasteboard) {
            if (const DropListEntityPtr drop = ActionStore::instance()->fetchDropWithID(dropID))
                m_trayIcon->runDroppedAction(drop, pasteboard);
            else
                qCWarning(lcShell, "a drop on the row of an action that no longer exists (%d)", dropID);
        });
    }
    return m_dropWindow.get();
}

void Application::openDropWindow()
{
    DropWindow *window = dropWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

PreferencesWindow *Application::preferencesWindow()
{
    if (!m_preferences) {
        m_preferences = std::make_unique<PreferencesWindow>(m_autostart.get());
        connect(m_preferences->generalSettings(), &GeneralSettingsPage::keepDropWindowChanged, this, [this](bool keep) {
            if (keep)
                openDropWindow();
        });
        m_preferences->setHiddenFromTaskbar(Settings::hideIcon.read());
        connect(m_preferences.get(), &PreferencesWindow::quitRequested, qApp, &QCoreApplication::quit);
        connect(m_preferences->editor(), &ActionEditorPage::actionRenamed, this, [this] {
            if (m_dropWindow)
                m_dropWindow->reloadActions();
        });
    }
    return m_preferences.get();
}

void Application::openPreferencesTab(int tab)
{
    preferencesWindow()->showWindowWithTab(tab);
}

void Application::openPreferences(const QString &tab)
{
    openPreferencesTab(PreferencesWindow::tabForName(tab));
}

} // namespace Korvane
