#include "shell/hotkeys/storedkeycombination.h"

#include "shell/hotkeys/namedshortcuts.h"
#include "platform/shortcuttext.h"
#include "common/korvanelogging.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

namespace {

const QHash<QString, QString> &keyCodeNames()
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> result;
        QFile file(QStringLiteral(":/hotkeys/PTKeyCodes.json"));
        if (!file.open(QIODevice::ReadOnly)) {
            qCWarning(lcHotKeys, "the key name table is missing; keys show their codes");
            return result;
        }
        const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
        for (auto it = object.begin(); it != object.end(); ++it)
            result.insert(it.key(), it.value().toString());
        return result;
    }();
    return names;
}

qint32 plistNumber(const QVariantMap &map, const QString &key)
{
    bool ok = false;
    const qint32 value = map.value(key).toInt(&ok);
    return ok && value >= 1 ? value : -1;
}

} // namespace

StoredKeyCombination StoredKeyCombination::clearKeyCombo()
{
    return StoredKeyCombination(-1, -1);
}

StoredKeyCombination StoredKeyCombination::keyComboWithKeyCode(qint32 keyCode, qint32 modifiers)
{
    return StoredKeyCombination(keyCode, modifiers);
}

StoredKeyCombination StoredKeyCombination::initWithPlistRepresentation(const QVariant &plist)
{
    const QVariantMap map = plist.toMap();
    return StoredKeyCombination(plistNumber(map, QStringLiteral("keyCode")), plistNumber(map, QStringLiteral("modifiers")));
}

QVariantMap StoredKeyCombination::plistRepresentation() const
{
    return {{QStringLiteral("keyCode"), m_keyCode}, {QStringLiteral("modifiers"), m_modifiers}};
}

bool StoredKeyCombination::isValidHotKeyCombo() const
{
    return m_keyCode >= 0 && m_modifiers > 0;
}

bool StoredKeyCombination::isClearCombo() const
{
    return m_keyCode == -1 && m_modifiers == -1;
}

QString StoredKeyCombination::description() const
{
    if (!isValidHotKeyCombo())
        return qtTrId("(None)");
    const QString name = keyCodeNames().value(QString::number(m_keyCode));
    return ShortcutText::text(quint32(m_keyCode), NamedShortcuts::eventModifierFlags(m_modifiers),
                              name.isEmpty() ? QString::number(m_keyCode, 16).toUpper() : name);
}
