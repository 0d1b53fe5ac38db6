#pragma once

#include <QString>
#include <QtCore/qnamespace.h>

#include <optional>

// The text Korvane shows for a key combination, as the desktops write shortcuts
// ("Shift+Super+K"): a key that types a character is named by what the current layout types.
class KeyCombinationText final
{
public:
    // Empty for an empty combination.
    static QString text(QKeyCombination keys);
    // Reads what text() writes, in any case, and the other names ShortcutText reads; a key
    // named by a layout is known once some text has shown it. Nothing for a text that names
    // no combination Korvane can bind.
    static std::optional<QKeyCombination> fromText(const QString &text);
};
