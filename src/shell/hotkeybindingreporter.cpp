#include "shell/hotkeybindingreporter.h"

#include "platform/korvanenotifier.h"
#include "platform/korvaneplatform.h"
#include "shell/hotkeys/pthotkeycenter.h"
#include "shell/hotkeys/sgwlhotkey.h"
#include "common/korvanelogging.h"

#include <QLoggingCategory>

HotKeyBindingReporter::HotKeyBindingReporter(PTHotKeyCenter *center, QObject *parent)
    : QObject(parent)
    , m_center(center)
{
    connect(center, &PTHotKeyCenter::bindingChanged, this, &HotKeyBindingReporter::onBindingChanged);
}

QString HotKeyBindingReporter::warning(const KorvaneEventHotKeyService::Binding &binding)
{
    switch (binding.state) {
    case KorvaneEventHotKeyService::Binding::Bound:
    case KorvaneEventHotKeyService::Binding::Pending:
        return QString();
    case KorvaneEventHotKeyService::Binding::Refused:
        return qtTrId("hotKeyNotBoundWarning");
    case KorvaneEventHotKeyService::Binding::Unsupported:
        return qtTrId("globalShortcutsUnavailableWarning");
    }
    return QString();
}

QString HotKeyBindingReporter::fieldText(const PRLHotKey &hotKey, const KorvaneEventHotKeyService::Binding &binding)
{
    if (hotKey.isEmpty())
        return QString();
    if (binding.state == KorvaneEventHotKeyService::Binding::Bound && !binding.trigger.isEmpty()) {
        // Portals describe a binding in their own words ("LOGO+d"); one that reads as a
        // shortcut is shown as the desktop's settings write it.
        const std::optional<PRLHotKey> bound = PRLHotKey::hotKeyForString(binding.trigger);
        return bound && !bound->isEmpty() ? bound->displayString() : binding.trigger;
    }
    return hotKey.displayString();
}

void HotKeyBindingReporter::onBindingChanged(const QString &name, const PTKeyCombo &keyCombo)
{
    const KorvaneEventHotKeyService::Binding binding = m_center->bindingForName(name);
    const PRLHotKey hotKey(quint32(keyCombo.keyCode()), SGWLHotKey::eventModifierFlags(keyCombo.modifiers()));
    KorvaneNotificationContent content;
    content.attachmentImage = QStringLiteral(":/images/notificationFail.png");
    if (binding.state == KorvaneEventHotKeyService::Binding::Unsupported) {
        if (m_toldUnsupported)
            return;
        m_toldUnsupported = true;
        qCWarning(lcBindings, "this desktop binds no global shortcuts; \"korvane show\" bound in its keyboard settings opens the popover");
        content.title = qtTrId("globalShortcutsUnavailableTitle");
        content.body = qtTrId("globalShortcutsUnavailableBody");
    } else if (binding.state == KorvaneEventHotKeyService::Binding::Refused) {
        const QString told = name + QLatin1Char('/') + hotKey.displayString();
        if (m_told.contains(told))
            return;
        m_told.insert(told);
        qCWarning(lcBindings, "the shortcut %s (%s) is not bound", qUtf8Printable(hotKey.displayString()), qUtf8Printable(name));
        content.title = qtTrId("hotKeyNotBoundTitle");
        content.body = qtTrId("hotKeyNotBoundBody").arg(hotKey.displayString());
    } else {
        return;
    }
    // Told even with notifications muted: the user pressing the keys would get nothing.
    KorvanePlatform::notifier()->post(content);
}
