#include "shell/generalsettingspage.h"

#include "shell/shortcutbindingreporter.h"
#include "shell/keycombinationedit.h"
#include "platform/autostart.h"
#include "platform/settings.h"
#include "net/updatecheck.h"
#include "common/storedshortcutcodec.h"
#include "shortcuts/globalshortcutregistry.h"
#include "shortcuts/keycombinationtext.h"
#include "shell/updatedialog.h"
#include "shell/shelllogging.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QVBoxLayout>

GeneralSettingsPage::GeneralSettingsPage(Autostart *autostart, QWidget *parent)
    : QWidget(parent)
    , m_autostart(autostart)
    , m_launchLogin(new QCheckBox(qtTrId("launchAtLogin")))
    , m_playSound(new QCheckBox(qtTrId("playSound")))
    , m_enableNotifi(new QCheckBox(qtTrId("enableNotifications")))
    , m_hideIcon(new QCheckBox(qtTrId("hideIcon")))
    , m_keepDropWindow(new QCheckBox(qtTrId("keepDropWindow")))
    , m_hotKeyField(new KeyCombinationEdit)
    , m_hotKeyWarning(new QLabel)
    , m_versionLabel(new QLabel)
    , m_versionLayout(new QVBoxLayout)
    , m_quitButton(new QPushButton(qtTrId("quitKorvaneButton")))
{
    setObjectName(QStringLiteral("generalSettings"));
    m_launchLogin->setToolTip(qtTrId("launchAtLoginTip"));
    m_playSound->setToolTip(qtTrId("playSoundTip"));
    m_enableNotifi->setToolTip(qtTrId("enableNotificationsTip"));
    m_hideIcon->setToolTip(qtTrId("hideIconTip"));
    m_keepDropWindow->setToolTip(qtTrId("keepDropWindowTip"));
    m_quitButton->setToolTip(qtTrId("quitKorvaneTip"));

    m_launchLogin->setChecked(!Korvane::Settings::noAutoLaunch.read());
    m_playSound->setChecked(!Korvane::Settings::muteSound.read());
    m_enableNotifi->setChecked(Korvane::Settings::muteNotifi.read() == 0);
    m_hideIcon->setChecked(Korvane::Settings::hideIcon.read());
    m_keepDropWindow->setChecked(Korvane::Settings::keepDropWindow.read());
    if (Korvane::Settings::wakeHotKey.isSet())
        m_hotKeyField->setKeyCombination(GlobalShortcutRegistry::storedWakeKeys().value_or(QKeyCombination()));
    m_hotKeyField->setMinimumWidth(180);
    m_hotKeyWarning->setObjectName(QStringLiteral("wakeHotKeyWarning"));
    m_hotKeyWarning->setStyleSheet(QStringLiteral("color: #d93025;"));
    m_hotKeyWarning->setWordWrap(true);
    m_hotKeyWarning->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_versionLabel->setText(qtTrId("currentVersion").arg(QCoreApplication::applicationVersion()));

    connect(m_launchLogin, &QCheckBox::toggled, this, &GeneralSettingsPage::launchLoginCheckboxChanged);
    connect(m_playSound, &QCheckBox::toggled, this, &GeneralSettingsPage::playSoundCheckboxChanged);
    connect(m_enableNotifi, &QCheckBox::toggled, this, &GeneralSettingsPage::enableNotifiCheckboxChanged);
    connect(m_hideIcon, &QCheckBox::toggled, this, &GeneralSettingsPage::hideIconCheckboxChanged);
    connect(m_keepDropWindow, &QCheckBox::toggled, this, &GeneralSettingsPage::keepDropWindowCheckboxChanged);
    connect(m_hotKeyField, &KeyCombinationEdit::keyCombinationChanged, this, &GeneralSettingsPage::hotKeyFieldPressed);
    connect(GlobalShortcutRegistry::instance(), &GlobalShortcutRegistry::bindingChanged, this, [this](const QString &name) {
        if (name == GlobalShortcutRegistry::WakeShortcutName)
            showWakeBinding();
    });
    connect(m_quitButton, &QPushButton::clicked, this, &GeneralSettingsPage::quitApp);

    auto *checks = new QVBoxLayout;
    checks->setSpacing(8);
    for (QCheckBox *box : {m_launchLogin, m_playSound, m_enableNotifi, m_hideIcon, m_keepDropWindow})
        checks->addWidget(box);

    auto *hotKeyLabel = new QLabel(qtTrId("wakeHotKeyLabel"));
    hotKeyLabel->setBuddy(m_hotKeyField);
    auto *hotKeyRow = new QHBoxLayout;
    hotKeyRow->addWidget(m_hotKeyField);
    hotKeyRow->addStretch(1);
    auto *hotKeyColumn = new QVBoxLayout;
    hotKeyColumn->setSpacing(4);
    hotKeyColumn->addLayout(hotKeyRow);
    hotKeyColumn->addWidget(m_hotKeyWarning);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(16);
    form->setVerticalSpacing(14);
    form->addRow(new QLabel(qtTrId("generalBehaviour")), checks);
    form->addRow(hotKeyLabel, hotKeyColumn);
    m_versionLayout->addWidget(m_versionLabel);
    // Without a service to ask, a check could only fail: say so instead of offering one.
    if (UpdateCheck::isConfigured()) {
        auto *checkForUpdate = new QPushButton(qtTrId("checkForUpdate"));
        checkForUpdate->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        connect(checkForUpdate, &QPushButton::clicked, this, [this] { UpdateDialog::present(window()); });
        m_versionLayout->addWidget(checkForUpdate);
    } else {
        auto *off = new QLabel(qtTrId("updateCheckOff"));
        off->setObjectName(QStringLiteral("updateCheckOff"));
        off->setWordWrap(true);
        m_versionLayout->addWidget(off);
    }
    form->addRow(new QLabel(qtTrId("versionLabel")), m_versionLayout);

    auto *quitRow = new QHBoxLayout;
    quitRow->addStretch(1);
    quitRow->addWidget(m_quitButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(quitRow);
    showWakeBinding();
}

void GeneralSettingsPage::launchLoginCheckboxChanged(bool checked)
{
    Korvane::Settings::noAutoLaunch.write(!checked);
    setAutoLaunchAgents(checked);
}

void GeneralSettingsPage::setAutoLaunchAgents(bool enabled)
{
    if (m_autostart && m_autostart->setEnabled(enabled))
        qCInfo(lcGeneral, "set succeed");
    else
        qCWarning(lcGeneral, "fail set");
}

void GeneralSettingsPage::setAutoLaunchAtStart(Autostart *autostart)
{
    if (Korvane::Settings::noAutoLaunch.read())
        return;
    if (autostart && autostart->setEnabled(true))
        qCInfo(lcGeneral, "succeed set");
    else
        qCWarning(lcGeneral, "fail set");
}

void GeneralSettingsPage::playSoundCheckboxChanged(bool checked)
{
    Korvane::Settings::muteSound.write(!checked);
}

void GeneralSettingsPage::enableNotifiCheckboxChanged(bool checked)
{
    Korvane::Settings::muteNotifi.write(checked ? 0 : 1);
}

void GeneralSettingsPage::keepDropWindowCheckboxChanged(bool checked)
{
    Korvane::Settings::keepDropWindow.write(checked);
    Q_EMIT keepDropWindowChanged(checked);
}

void GeneralSettingsPage::hideIconCheckboxChanged(bool checked)
{
    Korvane::Settings::hideIcon.write(checked);
    Q_EMIT hideIconChanged(checked);
}

void GeneralSettingsPage::hotKeyFieldPressed(QKeyCombination keys)
{
    saveHotkey(keys);
    showWakeBinding();
}

void GeneralSettingsPage::showWakeBinding()
{
    // The shortcut is kept even where nothing binds it: the warning says why pressing it
    // does nothing, and the field shows the keys the desktop chose where it chose others.
    const GlobalShortcutBackend::Binding binding = GlobalShortcutRegistry::instance()->binding(GlobalShortcutRegistry::WakeShortcutName);
    const QKeyCombination keys = m_hotKeyField->keyCombination();
    QString warning = keys == QKeyCombination() ? QString() : ShortcutBindingReporter::warning(binding);
    if (!warning.isEmpty())
        warning += QLatin1Char(' ') + ShortcutBindingReporter::howToBind();
    m_hotKeyField->setText(ShortcutBindingReporter::fieldText(keys, binding));
    m_hotKeyWarning->setText(warning);
    m_hotKeyWarning->setVisible(!warning.isEmpty());
    m_hotKeyField->setToolTip(warning.isEmpty() ? qtTrId("hotKeyFieldTip") : warning);
}

bool GeneralSettingsPage::saveHotkey(QKeyCombination keys)
{
    const std::optional<StoredShortcutCodec::StoredShortcut> stored = StoredShortcutCodec::encode(keys);
    if (!stored)
        return false;
    Korvane::Settings::wakeHotKey.write({stored->keyCode, stored->modifiers});
    if (GlobalShortcutRegistry::instance()->registerWakeShortcut())
        return true;
    qCWarning(lcGeneral, "the wake hotkey %s is held by another program; it stays stored", qUtf8Printable(KeyCombinationText::text(keys)));
    return false;
}
