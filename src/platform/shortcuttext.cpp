#include "platform/shortcuttext.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

struct KeyName {
    quint32 keyCode;
    const char16_t *name;
};

struct SpecialKey {
    quint32 keyCode;
    const char *name;
    // The text id of a name the user's language writes otherwise; nullptr when it is the same.
    const char *textId;
};

// The names Qt and KDE give these keys. Help, keypad Clear and F13 to F15 sit where a PC
// keyboard has Insert, Num Lock, Print, Scroll Lock and Pause, which is what is pressed.
constexpr SpecialKey kSpecialKeys[] = {
    {36, "Return", QT_TRID_NOOP("keyReturn")},
    {48, "Tab", nullptr},
    {49, "Space", QT_TRID_NOOP("keySpace")},
    {51, "Backspace", QT_TRID_NOOP("keyBackspace")},
    {53, "Esc", nullptr},
    {71, "NumLock", nullptr},
    {114, "Ins", nullptr},
    {115, "Home", nullptr},
    {116, "PgUp", nullptr},
    {117, "Del", nullptr},
    {119, "End", nullptr},
    {121, "PgDown", nullptr},
    {123, "Left", QT_TRID_NOOP("keyLeft")},
    {124, "Right", QT_TRID_NOOP("keyRight")},
    {125, "Down", QT_TRID_NOOP("keyDown")},
    {126, "Up", QT_TRID_NOOP("keyUp")},
    {122, "F1", nullptr},
    {120, "F2", nullptr},
    {99, "F3", nullptr},
    {118, "F4", nullptr},
    {96, "F5", nullptr},
    {97, "F6", nullptr},
    {98, "F7", nullptr},
    {100, "F8", nullptr},
    {101, "F9", nullptr},
    {109, "F10", nullptr},
    {103, "F11", nullptr},
    {111, "F12", nullptr},
    {105, "Print", nullptr},
    {107, "ScrollLock", nullptr},
    {113, "Pause", nullptr},
    {106, "F16", nullptr},
    {64, "F17", nullptr},
    {79, "F18", nullptr},
    {80, "F19", nullptr},
    {90, "F20", nullptr},
};

// From F1 on, the function keys: they make a shortcut without a modifier.
constexpr std::size_t kFirstFunctionKey = 16;

// The other names a text may use for a key.
constexpr KeyName kKeyAliases[] = {
    {36, u"Enter"},
    {53, u"Escape"},
    {114, u"Insert"},
    {117, u"Delete"},
    {116, u"PageUp"},
    {121, u"PageDown"},
    {105, u"F13"},
    {107, u"F14"},
    {113, u"F15"},
    {105, u"SysRq"},
};

// The characters of a US keyboard, for when the current layout is unknown.
constexpr KeyName kUsKeys[] = {
    {0, u"a"},
    {1, u"s"},
    {2, u"d"},
    {3, u"f"},
    {4, u"h"},
    {5, u"g"},
    {6, u"z"},
    {7, u"x"},
    {8, u"c"},
    {9, u"v"},
    {10, u"§"},
    {11, u"b"},
    {12, u"q"},
    {13, u"w"},
    {14, u"e"},
    {15, u"r"},
    {16, u"y"},
    {17, u"t"},
    {18, u"1"},
    {19, u"2"},
    {20, u"3"},
    {21, u"4"},
    {22, u"6"},
    {23, u"5"},
    {24, u"="},
    {25, u"9"},
    {26, u"7"},
    {27, u"-"},
    {28, u"8"},
    {29, u"0"},
    {30, u"]"},
    {31, u"o"},
    {32, u"u"},
    {33, u"["},
    {34, u"i"},
    {35, u"p"},
    {36, u"⏎"},
    {37, u"l"},
    {38, u"j"},
    {39, u"'"},
    {40, u"k"},
    {41, u";"},
    {42, u"\\"},
    {43, u","},
    {44, u"/"},
    {45, u"n"},
    {46, u"m"},
    {47, u"."},
    {48, u"⇥"},
    {49, u" "},
    {50, u"`"},
    {51, u"⃪"},
    {52, u"␃"},
    {53, u"⎋"},
    {65, u"."},
    {67, u"*"},
    {69, u"+"},
    {71, u"⎋"},
    {75, u"/"},
    {78, u"-"},
    {81, u"="},
    {82, u"0"},
    {83, u"1"},
    {84, u"2"},
    {85, u"3"},
    {86, u"4"},
    {87, u"5"},
    {88, u"6"},
    {89, u"7"},
    {91, u"8"},
    {92, u"9"},
    {93, u"¥"},
    {94, u"_"},
    {95, u","},
    {117, u"⌫"},
    {122, u" "},
    {120, u" "},
    {99, u" "},
    {118, u" "},
    {96, u" "},
    {97, u" "},
    {98, u" "},
    {100, u" "},
    {101, u" "},
    {109, u" "},
    {103, u" "},
    {111, u" "},
    {105, u" "},
    {107, u" "},
    {113, u" "},
    {106, u" "},
    {64, u" "},
    {79, u" "},
    {80, u" "},
    {90, u" "},
};

struct Modifier {
    quint32 flag;
    const char *name;
    const char *textId;
    const char16_t *alias;
};

// In the order Qt and KDE write them.
constexpr Modifier kModifiers[] = {
    {ShortcutText::ControlFlag, "Ctrl", QT_TRID_NOOP("keyCtrl"), u"Control"},
    {ShortcutText::OptionFlag, "Alt", QT_TRID_NOOP("keyAlt"), u"Option"},
    {ShortcutText::ShiftFlag, "Shift", QT_TRID_NOOP("keyShift"), u""},
    {ShortcutText::CommandFlag, "Super", QT_TRID_NOOP("keySuper"), u"Meta"},
};

// The name in the user's language; without translations loaded, the English one.
QString translated(const char *name, const char *textId)
{
    const QString text = qtTrId(textId);
    return text == QLatin1String(textId) ? QString::fromLatin1(name) : text;
}

QString named(const char *name, const char *textId, ShortcutText::Language language)
{
    if (textId && language == ShortcutText::Language::Native)
        return translated(name, textId);
    return QString::fromLatin1(name);
}

bool sameName(const QString &text, const QString &name)
{
    return !name.isEmpty() && text.compare(name, Qt::CaseInsensitive) == 0;
}

std::optional<quint32> keyCodeForName(const QString &name)
{
    for (const SpecialKey &key : kSpecialKeys) {
        if (sameName(name, QString::fromLatin1(key.name)) || (key.textId && sameName(name, translated(key.name, key.textId))))
            return key.keyCode;
    }
    for (const KeyName &alias : kKeyAliases) {
        if (sameName(name, QString::fromUtf16(alias.name)))
            return alias.keyCode;
    }
    if (name.size() == 1 && name != QLatin1String(" ")) {
        // The first entry wins: the main keyboard's digits and signs before the keypad's.
        for (const KeyName &key : kUsKeys) {
            if (sameName(name, QString::fromUtf16(key.name)))
                return key.keyCode;
        }
    }
    // A key without any name is written by its code.
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = name.mid(1).toUInt(&ok);
        if (ok && code < 128)
            return code;
    }
    return std::nullopt;
}

} // namespace

QString ShortcutText::specialKeyName(quint32 keyCode, Language language)
{
    for (const SpecialKey &key : kSpecialKeys) {
        if (key.keyCode == keyCode)
            return named(key.name, key.textId, language);
    }
    return {};
}

QString ShortcutText::usCharacter(quint32 keyCode)
{
    for (const KeyName &key : kUsKeys) {
        if (key.keyCode == keyCode)
            return QString::fromUtf16(key.name);
    }
    return {};
}

QString ShortcutText::text(quint32 keyCode, quint32 modifiers, const QString &keyName, Language language)
{
    if (keyCode == 0 && modifiers == 0)
        return QString();
    QStringList parts;
    for (const Modifier &modifier : kModifiers) {
        if (modifiers & modifier.flag)
            parts.append(named(modifier.name, modifier.textId, language));
    }
    QString name = specialKeyName(keyCode, language);
    if (name.isEmpty())
        name = keyName.trimmed().isEmpty() ? usCharacter(keyCode).trimmed().toUpper() : keyName;
    if (name.isEmpty())
        name = QStringLiteral("#%1").arg(keyCode);
    parts.append(name);
    return parts.join(QLatin1Char('+'));
}

std::optional<ShortcutText::Shortcut> ShortcutText::parse(const QString &text,
                                                          const std::function<std::optional<quint32>(const QString &)> &keyLookup)
{
    if (text.size() > MaximumLength)
        return std::nullopt;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return Shortcut{};
    // "Ctrl++" is Ctrl with the plus key.
    QStringList parts;
    QString keyName;
    if (trimmed.endsWith(QLatin1String("++")) || trimmed == QLatin1String("+")) {
        keyName = QStringLiteral("+");
        parts = trimmed.chopped(trimmed.size() > 1 ? 2 : 1).split(QLatin1Char('+'), Qt::SkipEmptyParts);
    } else {
        parts = trimmed.split(QLatin1Char('+'));
        keyName = parts.takeLast().trimmed();
    }
    Shortcut shortcut;
    for (const QString &part : std::as_const(parts)) {
        const QString name = part.trimmed();
        const Modifier *found = nullptr;
        for (const Modifier &modifier : kModifiers) {
            if (sameName(name, QString::fromLatin1(modifier.name)) || sameName(name, translated(modifier.name, modifier.textId))
                || sameName(name, QString::fromUtf16(modifier.alias)))
                found = &modifier;
        }
        if (!found && (sameName(name, QStringLiteral("Logo")) || sameName(name, QStringLiteral("Win"))))
            found = &kModifiers[std::size(kModifiers) - 1];
        if (!found || (shortcut.modifiers & found->flag))
            return std::nullopt;
        shortcut.modifiers |= found->flag;
    }
    if (keyName.isEmpty())
        return std::nullopt;
    std::optional<quint32> keyCode = keyLookup ? keyLookup(keyName) : std::nullopt;
    if (!keyCode)
        keyCode = keyCodeForName(keyName);
    if (!keyCode)
        return std::nullopt;
    shortcut.keyCode = *keyCode;
    return shortcut;
}

bool ShortcutText::isFunctionKey(quint32 keyCode)
{
    for (std::size_t i = kFirstFunctionKey; i < std::size(kSpecialKeys); ++i) {
        if (kSpecialKeys[i].keyCode == keyCode)
            return true;
    }
    return false;
}

bool ShortcutText::isBindable(const Shortcut &shortcut)
{
    return (shortcut.modifiers & (ControlFlag | OptionFlag | CommandFlag)) || isFunctionKey(shortcut.keyCode);
}
