#pragma once

#include "common/storedshortcutcodec.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

// A stored shortcut as Linux desktops write it: "Ctrl+Alt+K", "Super+D". The values are the
// stored virtual key codes and event modifier flags (see StoredShortcutCodec); only their text
// is the desktop's.
class ShortcutText final
{
public:
    static constexpr quint32 ShiftFlag = StoredShortcutCodec::ShiftFlag;
    static constexpr quint32 ControlFlag = StoredShortcutCodec::ControlFlag;
    static constexpr quint32 OptionFlag = StoredShortcutCodec::OptionFlag;
    static constexpr quint32 CommandFlag = StoredShortcutCodec::CommandFlag;

    enum class Language {
        // Names in the user's language, as the desktop shows them.
        Native,
        // English names only, for scripts and files: the same text under every language.
        Portable,
    };

    // Longer than any shortcut written out ("Ctrl+Alt+Shift+Super+ScrollLock"), with room for
    // spaces: a longer text is no shortcut, whatever it holds.
    static constexpr int MaximumLength = 64;

    struct Shortcut {
        quint32 keyCode = 0;
        quint32 modifiers = 0;
    };

    // keyName: the key's name under the current layout, as shown; a special key keeps its
    // fixed name, and an empty keyName takes the key's character on a US keyboard.
    static QString text(quint32 keyCode, quint32 modifiers, const QString &keyName = QString(),
                        Language language = Language::Native);
    // The fixed name of a key that types no character (Return, F5, Left); empty otherwise.
    static QString specialKeyName(quint32 keyCode, Language language = Language::Native);
    // The character of the key on a US keyboard; empty for a code with no key there.
    static QString usCharacter(quint32 keyCode);

    // Reads what text() writes, in either language, ignoring case; "Meta", "Control" and
    // "Enter" are read too. keyLookup, when given, is asked first for the key's name. No
    // value for a text with an unknown name, a modifier named twice, or over MaximumLength.
    static std::optional<Shortcut> parse(const QString &text,
                                         const std::function<std::optional<quint32>(const QString &)> &keyLookup = {});
    // F1 to F20, with Print, Scroll Lock and Pause at the places of F13 to F15.
    static bool isFunctionKey(quint32 keyCode);
    // Whether a desktop can bind it: a key with Ctrl, Alt or Super, or a function key.
    static bool isBindable(const Shortcut &shortcut);
};
