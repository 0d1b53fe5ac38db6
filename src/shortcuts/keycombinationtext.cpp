#include "shortcuts/keycombinationtext.h"

#include "common/storedshortcutcodec.h"
#include "platform/globalshortcutbackend.h"
#include "platform/platform.h"
#include "platform/shortcuttext.h"

#include <QHash>

namespace {

// Grows as texts are made, so a key name of the current layout shown once can be read back.
QHash<QString, quint32> &layoutNames()
{
    static QHash<QString, quint32> names;
    return names;
}

} // namespace

QString KeyCombinationText::text(QKeyCombination keys)
{
    const std::optional<StoredShortcutCodec::StoredShortcut> stored = StoredShortcutCodec::encode(keys);
    if (!stored || keys == QKeyCombination())
        return QString();
    QString layoutName;
    if (ShortcutText::specialKeyName(stored->keyCode).isEmpty()) {
        const QString character = Platform::shortcutBackend()->keyCharacter(keys);
        layoutName = (character.isEmpty() ? ShortcutText::usCharacter(stored->keyCode) : character).trimmed().toUpper();
        if (!layoutName.isEmpty())
            layoutNames().insert(layoutName, stored->keyCode);
    }
    return ShortcutText::text(stored->keyCode, stored->modifiers, layoutName);
}

std::optional<QKeyCombination> KeyCombinationText::fromText(const QString &text)
{
    const auto shortcut = ShortcutText::parse(text, [](const QString &name) -> std::optional<quint32> {
        const auto found = layoutNames().constFind(name.toUpper());
        if (found == layoutNames().constEnd())
            return std::nullopt;
        return found.value();
    });
    if (!shortcut)
        return std::nullopt;
    return StoredShortcutCodec::decode(shortcut->keyCode, shortcut->modifiers);
}
