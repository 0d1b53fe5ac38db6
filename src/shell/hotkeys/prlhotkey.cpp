#include "prlhotkey.h"

#include "korvaneeventhotkeyservice.h"
#include "korvaneplatform.h"
#include "sgwlhotkey.h"

#include <QHash>
#include <QStringList>

namespace {

struct KeyName {
    quint32 keyCode;
    const char16_t *name;
};

constexpr KeyName kSpecialNames[] = {
    {36, u"Return"},   {48, u"Tab"},       {49, u"Space"},   {51, u"⌫"},      {53, u"⎋"},    {71, u"Clear"},
    {114, u"Help"},    {115, u"Home"},     {116, u"PageUp"}, {117, u"⌦"},     {119, u"End"}, {121, u"PageDown"},
    {123, u"←"},       {124, u"→"},        {125, u"↓"},      {126, u"↑"},     {122, u"F1"},  {120, u"F2"},
    {99, u"F3"},       {118, u"F4"},       {96, u"F5"},      {97, u"F6"},     {98, u"F7"},   {100, u"F8"},
    {101, u"F9"},      {109, u"F10"},      {103, u"F11"},    {111, u"F12"},   {105, u"F13"}, {107, u"F14"},
    {113, u"F15"},     {106, u"F16"},      {64, u"F17"},     {79, u"F18"},    {80, u"F19"},  {90, u"F20"},
};

// The characters of a US keyboard, for when the current layout is unknown.
constexpr KeyName kUsKeys[] = {
    {0, u"a"},    {1, u"s"},    {2, u"d"},    {3, u"f"},    {4, u"h"},    {5, u"g"},    {6, u"z"},    {7, u"x"},
    {8, u"c"},    {9, u"v"},    {10, u"§"},   {11, u"b"},   {12, u"q"},   {13, u"w"},   {14, u"e"},   {15, u"r"},
    {16, u"y"},   {17, u"t"},   {18, u"1"},   {19, u"2"},   {20, u"3"},   {21, u"4"},   {22, u"6"},   {23, u"5"},
    {24, u"="},   {25, u"9"},   {26, u"7"},   {27, u"-"},   {28, u"8"},   {29, u"0"},   {30, u"]"},   {31, u"o"},
    {32, u"u"},   {33, u"["},   {34, u"i"},   {35, u"p"},   {36, u"⏎"},   {37, u"l"},   {38, u"j"},   {39, u"'"},
    {40, u"k"},   {41, u";"},   {42, u"\\"},  {43, u","},   {44, u"/"},   {45, u"n"},   {46, u"m"},   {47, u"."},
    {48, u"⇥"},   {49, u" "},   {50, u"`"},   {51, u"⃪"},   {52, u"␃"},   {53, u"⎋"},   {65, u"."},   {67, u"*"},
    {69, u"+"},   {71, u"⎋"},   {75, u"/"},   {78, u"-"},   {81, u"="},   {82, u"0"},   {83, u"1"},   {84, u"2"},
    {85, u"3"},   {86, u"4"},   {87, u"5"},   {88, u"6"},   {89, u"7"},   {91, u"8"},   {92, u"9"},   {93, u"¥"},
    {94, u"_"},   {95, u","},   {117, u"⌫"},  {122, u" "},  {120, u" "},  {99, u" "},   {118, u" "},  {96, u" "},
    {97, u" "},   {98, u" "},   {100, u" "},  {101, u" "},  {109, u" "},  {103, u" "},  {111, u" "},  {105, u" "},
    {107, u" "},  {113, u" "},  {106, u" "},  {64, u" "},   {79, u" "},   {80, u" "},   {90, u" "},
};

template<std::size_t N>
QString lookUp(const KeyName (&table)[N], quint32 keyCode)
{
    for (const KeyName &entry : table) {
        if (entry.keyCode == keyCode)
            return QString::fromUtf16(entry.name);
    }
    return {};
}

struct Symbol {
    quint32 flag;
    const char16_t *symbol;
};

constexpr Symbol kSymbols[] = {
    {SGWLHotKey::ControlFlag, u"⌃"}, {SGWLHotKey::ShiftFlag, u"⇧"},     {SGWLHotKey::OptionFlag, u"⌥"},
    {SGWLHotKey::CommandFlag, u"⌘"}, {SGWLHotKey::FunctionFlag, u"fn"},
};

// Grows as display strings are made, so text shown once can be read back.
QHash<QString, quint32> &nameMap()
{
    static QHash<QString, quint32> map;
    return map;
}

} // namespace

PRLHotKey::PRLHotKey(quint32 keyCode, quint32 modifiers)
    : m_keyCode(keyCode)
    , m_modifiers(modifiers)
    , m_displayString(stringForKeyCode(keyCode, modifiers))
{
}

bool PRLHotKey::isEmpty() const
{
    return m_keyCode == 0 && m_modifiers == 0;
}

QString PRLHotKey::stringRepresentation() const
{
    return stringForKeyCode(m_keyCode, m_modifiers);
}

QString PRLHotKey::description() const
{
    if (isEmpty())
        return QStringLiteral("empty hot key");
    return QStringLiteral("HotKey: modifiers: %1, keycode: %2, %3").arg(m_modifiers).arg(m_keyCode).arg(m_displayString);
}

QVariantMap PRLHotKey::toArchive() const
{
    return {{QStringLiteral("keyCode"), m_keyCode}, {QStringLiteral("modifiers"), m_modifiers}};
}

PRLHotKey PRLHotKey::fromArchive(const QVariantMap &archive)
{
    return PRLHotKey(archive.value(QStringLiteral("keyCode")).toUInt(), archive.value(QStringLiteral("modifiers")).toUInt());
}

std::optional<PRLHotKey> PRLHotKey::hotKeyForString(const QString &string)
{
    const QStringList parts = string.split(QLatin1Char(' '));
    quint32 flags = 0;
    QString keyName = string;
    if (parts.size() >= 2) {
        for (const Symbol &symbol : kSymbols) {
            if (parts.first().contains(QString::fromUtf16(symbol.symbol)))
                flags |= symbol.flag;
        }
        keyName = parts.at(1);
    }
    if (keyName.isEmpty())
        return PRLHotKey(0, flags);
    const auto found = nameMap().constFind(keyName);
    if (found == nameMap().constEnd())
        return std::nullopt;
    return PRLHotKey(found.value(), flags);
}

QString PRLHotKey::stringForKeyCode(quint32 keyCode, quint32 modifiers)
{
    if (keyCode == 0 && modifiers == 0)
        return QString();

    QString text;
    for (const Symbol &symbol : kSymbols) {
        if (modifiers & symbol.flag)
            text += QString::fromUtf16(symbol.symbol);
    }
    if (!text.isEmpty())
        text += QLatin1Char(' ');

    QString name = lookUp(kSpecialNames, keyCode);
    if (name.isEmpty())
        name = keyEquivalentStringForMenuForKeyCode(keyCode, 0).toUpper();
    // A key with no name in any layout is shown by its code, which still reads back.
    if (name.isEmpty())
        name = QStringLiteral("#%1").arg(keyCode);
    nameMap().insert(name, keyCode);
    return text + name;
}

QString PRLHotKey::stringForKey(quint32 keyCode)
{
    const QString character = KorvanePlatform::eventHotKeyService()->keyCharacter(keyCode);
    return character.isEmpty() ? lookUp(kUsKeys, keyCode) : character;
}

QString PRLHotKey::keyEquivalentStringForMenuForKeyCode(quint32 keyCode, quint32 modifiers)
{
    const QString character = stringForKey(keyCode);
    return modifiers & SGWLHotKey::ShiftFlag ? character.toUpper() : character;
}
