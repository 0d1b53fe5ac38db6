#include "shell/shortcutbindingreporter.h"

#include "platform/notifier.h"
#include "platform/platform.h"
#include "platform/settings.h"
#include "shortcuts/globalshortcutregistry.h"
#include "shortcuts/keycombinationtext.h"
#include "shell/shelllogging.h"

#include <QLoggingCategory>

#include <utility>

namespace {

// Every failure of every shortcut that the session binds none at all is told as one.
const QString GlobalShortcutsName = QStringLiteral("globalShortcuts");
// Korvane keeps few shortcuts; a list grown past this is stale and starts again.
constexpr int MaxToldEntries = 512;

} // namespace

ShortcutBindingReporter::ShortcutBindingReporter(GlobalShortcutRegistry *registry, QObject *parent)
    : QObject(parent)
    , m_registry(registry)
{
    connect(registry, &GlobalShortcutRegistry::bindingChanged, this, &ShortcutBindingReporter::onBindingChanged);
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(SettleLimitMs);
    connect(&m_settleTimer, &QTimer::timeout, this, &ShortcutBindingReporter::settleWake);
}

QString ShortcutBindingReporter::warning(const Binding &binding)
{
    switch (binding.state) {
    case Binding::Bound:
    case Binding::Pending:
        return QString();
    case Binding::Unconfirmed:
        return qtTrId("xwaylandGrabWarning");
    case Binding::Refused:
    case Binding::Unsupported:
        break;
    }
    switch (binding.cause) {
    case Binding::NoPortal:
        return qtTrId("noPortalWarning");
    case Binding::AppIdRefused:
        return qtTrId("appIdRefusedWarning");
    case Binding::Declined:
        return qtTrId("hotKeyDeclinedWarning");
    case Binding::NoGlobalShortcuts:
        return qtTrId("globalShortcutsUnavailableWarning");
    case Binding::KeyTaken:
    case Binding::NoCause:
        break;
    }
    return binding.state == Binding::Unsupported ? qtTrId("globalShortcutsUnavailableWarning") : qtTrId("hotKeyNotBoundWarning");
}

QString ShortcutBindingReporter::fieldText(QKeyCombination keys, const Binding &binding)
{
    if (keys == QKeyCombination())
        return QString();
    if (binding.state == Binding::Bound && !binding.trigger.isEmpty()) {
        // Portals describe a binding in their own words ("LOGO+d"); one that reads as a
        // shortcut is shown as the desktop's settings write it.
        const std::optional<QKeyCombination> bound = KeyCombinationText::fromText(binding.trigger);
        return bound && *bound != QKeyCombination() ? KeyCombinationText::text(*bound) : binding.trigger;
    }
    return KeyCombinationText::text(keys);
}

QString ShortcutBindingReporter::howToBind()
{
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (qEnvironmentVariableIsSet("SWAYSOCK") || desktop.contains(QLatin1String("sway"), Qt::CaseInsensitive))
        return qtTrId("bindKeySway");
    if (desktop.contains(QLatin1String("GNOME"), Qt::CaseInsensitive))
        return qtTrId("bindKeyGnome");
    if (desktop.contains(QLatin1String("KDE"), Qt::CaseInsensitive))
        return qtTrId("bindKeyKde");
    return qtTrId("bindKeyOther");
}

QString ShortcutBindingReporter::withoutWakeKey(const Binding &binding)
{
    QStringList sentences{qtTrId("wakeKeyUnbound")};
    if (const QString cause = warning(binding); !cause.isEmpty())
        sentences.prepend(cause);
    sentences.append(howToBind());
    return sentences.join(QLatin1Char(' '));
}

GlobalShortcutBackend::Binding ShortcutBindingReporter::wakeBinding() const
{
    const Binding binding = m_registry->binding(GlobalShortcutRegistry::WakeShortcutName);
    // No wake shortcut is set: nothing opens Korvane by key, and nothing is to blame.
    if (!m_registry->keys(GlobalShortcutRegistry::WakeShortcutName) && binding.state != Binding::Refused)
        return {Binding::Refused, QString(), Binding::NoCause};
    return binding;
}

void ShortcutBindingReporter::whenWakeSettled(std::function<void(const Binding &)> then)
{
    m_wakeSettled = std::move(then);
    if (wakeBinding().state == Binding::Pending)
        m_settleTimer.start();
    else
        settleWake();
}

void ShortcutBindingReporter::settleWake()
{
    m_settleTimer.stop();
    if (!m_wakeSettled)
        return;
    const Binding binding = wakeBinding();
    // What the notice says now is what the user knows: a later change is news, this is not.
    noteTold(GlobalShortcutRegistry::WakeShortcutName, binding, GlobalShortcutRegistry::storedWakeKeys().value_or(QKeyCombination()));
    if (binding.state == Binding::Unsupported)
        noteTold(GlobalShortcutsName, binding, QKeyCombination());
    std::exchange(m_wakeSettled, nullptr)(binding);
}

bool ShortcutBindingReporter::noteTold(const QString &name, const Binding &binding, QKeyCombination keys) const
{
    QString state;
    switch (binding.state) {
    case Binding::Bound:
        state = QStringLiteral("bound ") + fieldText(keys, binding);
        break;
    case Binding::Pending:
        return false;
    case Binding::Refused:
        state = QStringLiteral("refused %1 %2").arg(int(binding.cause)).arg(KeyCombinationText::text(keys));
        break;
    case Binding::Unsupported:
        state = QStringLiteral("unsupported %1").arg(int(binding.cause));
        break;
    case Binding::Unconfirmed:
        state = QStringLiteral("unconfirmed ") + KeyCombinationText::text(keys);
        break;
    }
    const QString prefix = name + QLatin1Char('=');
    QStringList told = Korvane::Settings::toldHotKeyBindings.read();
    if (told.contains(prefix + state))
        return false;
    told.removeIf([&](const QString &line) { return line.startsWith(prefix); });
    if (told.size() >= MaxToldEntries)
        told.clear();
    told.append(prefix + state);
    Korvane::Settings::toldHotKeyBindings.write(told);
    return true;
}

void ShortcutBindingReporter::onBindingChanged(const QString &name)
{
    if (name == GlobalShortcutRegistry::WakeShortcutName && m_wakeSettled) {
        if (wakeBinding().state != Binding::Pending)
            settleWake();
        return;
    }
    review(name);
}

void ShortcutBindingReporter::review(const QString &name)
{
    const std::optional<QKeyCombination> registered = m_registry->keys(name);
    const bool wake = name == GlobalShortcutRegistry::WakeShortcutName;
    const Binding binding = wake ? wakeBinding() : m_registry->binding(name);
    // A refused wake shortcut holds no registration; the user chose the stored one.
    const QKeyCombination keys = registered ? *registered : wake ? GlobalShortcutRegistry::storedWakeKeys().value_or(QKeyCombination())
                                                                 : QKeyCombination();
    // A new action's shortcut that took is what the user expects: only the wake key's is told.
    if (binding.state == Binding::Pending || (binding.state == Binding::Bound && !wake) || (!registered && !wake))
        return;
    // Keys taken as asked, as a grab takes them, are what the user chose in the General tab.
    if (!noteTold(name, binding, keys) || (binding.state == Binding::Bound && binding.trigger.isEmpty()))
        return;
    Notification content;
    content.attachmentImage = QStringLiteral(":/images/notificationFail.png");
    if (binding.state == Binding::Unsupported) {
        // The first start's notice, still waiting for the wake key, says it for all.
        if (m_wakeSettled || !noteTold(GlobalShortcutsName, binding, QKeyCombination()))
            return;
        qCWarning(lcBindings, "this desktop binds no global shortcuts; \"korvane show\" bound in its keyboard settings opens the popover");
        content.title = qtTrId("globalShortcutsUnavailableTitle");
        content.body = binding.cause == Binding::NoGlobalShortcuts ? qtTrId("globalShortcutsUnavailableBody") : withoutWakeKey(binding);
    } else if (wake) {
        qCInfo(lcBindings, "the wake shortcut %s is now %s", qUtf8Printable(KeyCombinationText::text(keys)),
               binding.state == Binding::Bound ? qUtf8Printable(fieldText(keys, binding)) : "not bound");
        content.title = qtTrId("wakeKeyChangedTitle");
        if (binding.state == Binding::Bound) {
            content.attachmentImage = QStringLiteral(":/images/notificationDone.png");
            content.body = qtTrId("wakeKeyBound").arg(fieldText(keys, binding));
        } else {
            content.body = withoutWakeKey(binding);
        }
    } else {
        const QString text = KeyCombinationText::text(keys);
        qCWarning(lcBindings, "the shortcut %s (%s) is not bound", qUtf8Printable(text), qUtf8Printable(name));
        content.title = qtTrId("hotKeyNotBoundTitle");
        content.body = binding.cause == Binding::KeyTaken || binding.cause == Binding::NoCause
            ? qtTrId("hotKeyNotBoundBody").arg(text)
            : qtTrId("hotKeyNotBoundCauseBody").arg(text, warning(binding));
    }
    // Told even with notifications muted: the user pressing the keys would get nothing.
    Platform::notifier()->post(content);
}
