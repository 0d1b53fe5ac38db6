#include "korvaneapplication.h"

#include "dbusnotifier.h"
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

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QMenu>
#include <QSystemTrayIcon>

#include <cstdio>

Q_LOGGING_CATEGORY(lcShell, "korvane.shell", QtInfoMsg)

KorvaneApplication::KorvaneApplication() = default;
KorvaneApplication::~KorvaneApplication() = default;

void KorvaneApplication::start()
{
    KorvanePlatform::setClipboard(std::make_unique<GuiClipboard>());
    KorvanePlatform::setNotifier(std::make_unique<DBusNotifier>());
    KorvanePlatform::setUrlOpener(std::make_unique<DesktopUrlOpener>());
    KorvanePlatform::setEventHotKeyService(KorvaneDesktopPlatform::createEventHotKeyService());
    KorvanePlatform::setHotKeyService(std::make_unique<SGWLHotKeyService>());
    KorvanePlatform::setSoundPlayer(KorvaneDesktopPlatform::createSoundPlayer());
    KorvaneTranslations::install(KorvanePlatform::userDefaults()->preferredLanguages());

    KorvaneCoreDataHelper *store = KorvaneCoreDataHelper::shareInstance();
    if (!store->persistentStoreCoordinator())
        qCWarning(lcShell, "running without actions: %s", qUtf8Printable(store->storeError()));
    RenameJournal::recover();
    store->initializationDefaultData();
    store->initializationHotKey();

    m_menu = std::make_unique<QMenu>();
    m_menu->addAction(QIcon::fromTheme(QStringLiteral("application-exit")), QStringLiteral("Quit Korvane"), qApp, &QCoreApplication::quit);

    m_trayIcon = new QSystemTrayIcon(QIcon(QStringLiteral(":/images/menubarIcon.svg")), this);
    m_trayIcon->setToolTip(QStringLiteral("Korvane"));
    m_trayIcon->setContextMenu(m_menu.get());
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCWarning(lcShell, "no system tray is available; Korvane keeps running for its command line");
        std::fprintf(stderr, "korvane: no system tray is available\n");
    }
    m_trayIcon->show();
    qCInfo(lcShell, "Korvane %s started with %lld actions", qUtf8Printable(QCoreApplication::applicationVersion()),
           qint64(store->getAllDrops().size()));
}
