#include "korvaneapplication.h"

#include "dbusnotifier.h"
#include "generalsettingviewcontroller.h"
#include "hotkeybindingreporter.h"
#include "korvanesingleinstance.h"
#include "preferenceswindowcontroller.h"
#include "xdgautostart.h"
#include "desktopurlopener.h"
#include "guiclipboard.h"
#include "korvanedesktopplatform.h"
#include "korvanecoredatahelper.h"
#include "korvaneeventhotkeyservice.h"
#include "korvaneplatform.h"
#include "korvanesoundplayer.h"
#include "korvanetranslations.h"
#include "sgwlhotkeyservice.h"
#include "korvaneuserdefaults.h"
#include "renamejournal.h"
#include "pthotkeycenter.h"
#include "sgwlhotkey.h"
#include "statusitemmanger.h"

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QGuiApplication>
#include <QSystemTrayIcon>

#include <cstdio>

Q_LOGGING_CATEGORY(lcShell, "korvane.shell", QtInfoMsg)

KorvaneApplication::KorvaneApplication()
    : m_autostart(std::make_unique<XdgAutostart>())
{
}

KorvaneApplication::~KorvaneApplication() = default;

void KorvaneApplication::start(KorvaneSingleInstance *instance)
{
    KorvanePlatform::setClipboard(std::make_unique<GuiClipboard>());
    KorvanePlatform::setNotifier(std::make_unique<DBusNotifier>());
    KorvanePlatform::setUrlOpener(std::make_unique<DesktopUrlOpener>());
    KorvanePlatform::setEventHotKeyService(KorvaneDesktopPlatform::createEventHotKeyService());
    KorvanePlatform::setHotKeyService(std::make_unique<SGWLHotKeyService>());
    KorvanePlatform::setSoundPlayer(KorvaneDesktopPlatform::createSoundPlayer());
    KorvaneTranslations::install(KorvanePlatform::userDefaults()->preferredLanguages());
    m_bindingReporter = std::make_unique<HotKeyBindingReporter>(PTHotKeyCenter::sharedCenter());

    KorvaneCoreDataHelper *store = KorvaneCoreDataHelper::shareInstance();
    if (!store->persistentStoreCoordinator())
        qCWarning(lcShell, "running without actions: %s", qUtf8Printable(store->storeError()));
    RenameJournal::recover();
    store->initializationDefaultData();
    store->initializationHotKey();


    m_statusItemManger = std::make_unique<StatusItemManger>();
    connect(m_statusItemManger.get(), &StatusItemManger::openAboutRequested, this, [this] { openPreferencesTab(2); });
    connect(m_statusItemManger.get(), &StatusItemManger::openPreferencesRequested, this, &KorvaneApplication::openPreferencesTab);
    if (instance)
        connect(instance, &KorvaneSingleInstance::requested, this, &KorvaneApplication::openPreferences);
    GeneralSettingViewController::setAutoLaunchAtStart(m_autostart.get());
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCWarning(lcShell, "no system tray is available; the wake hotkey and the command line still work");
        std::fprintf(stderr, "korvane: no system tray is available\n");
    }
    registerHotKey();
    qCInfo(lcShell, "Korvane %s started with %lld actions", qUtf8Printable(QCoreApplication::applicationVersion()),
           qint64(store->getAllDrops().size()));
}

void KorvaneApplication::registerHotKey()
{
    KorvaneUserDefaults *defaults = KorvanePlatform::userDefaults();
    QVariantList wake = defaults->value(SGWLHotKey::WakeHotKeyName).toList();
    if (wake.size() != 2) {
        wake = {2, 1048576};
        defaults->setValue(SGWLHotKey::WakeHotKeyName, wake);
    }
    const quint32 keyCode = wake.at(0).toUInt();
    const quint32 modifiers = wake.at(1).toUInt();
    if (keyCode == 0 && modifiers == 0)
        return;
    if (!SGWLHotKey::registerAttributeName(SGWLHotKey::WakeHotKeyName, keyCode, modifiers, qtTrId("wakeHotKeyDescription")))
        qCWarning(lcShell, "the wake hotkey %u-%u is held by another program; it stays stored", keyCode, modifiers);
}

PreferencesWindowController *KorvaneApplication::preferencesWindow()
{
    if (!m_preferences) {
        m_preferences = std::make_unique<PreferencesWindowController>(m_autostart.get());
        m_preferences->setHiddenFromTaskbar(KorvanePlatform::userDefaults()->boolForKey(QStringLiteral("hideIcon")));
        connect(m_preferences.get(), &PreferencesWindowController::quitRequested, qApp, &QCoreApplication::quit);
    }
    return m_preferences.get();
}

void KorvaneApplication::openPreferencesTab(int tab)
{
    preferencesWindow()->showWindowWithTab(tab);
}

void KorvaneApplication::openPreferences(const QString &tab)
{
    openPreferencesTab(PreferencesWindowController::tabForName(tab));
}
