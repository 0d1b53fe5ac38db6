#pragma once

#include <QByteArray>
#include <QString>

class ActionStore;

// Moves the configured actions to and from a JSON file: every action with its settings
// record and custom URLs, under the attribute names the store uses.
//
// An import is checked whole before anything is made, and what it makes is written in one
// transaction: a file with any problem leaves the store as it was.
class ActionTransfer final
{
public:
    static constexpr int FormatVersion = 1;
    // Far above any list a person keeps, low enough that a runaway file is refused at once.
    static constexpr int MaximumActions = 5000;
    static constexpr int MaximumUrls = 1000;
    static constexpr qint64 MaximumFileSize = 32 * 1024 * 1024;

    explicit ActionTransfer(ActionStore *store);

    // Text actions first, each catalog in its list order. Secret settings (keys, passwords)
    // are left out unless withSecrets.
    QByteArray exportActions(bool withSecrets);

    // Adds the file's actions at the end of their catalogs, or in place of every action when
    // replace; the tray registers their hotkeys at its next start. On false, error says the
    // first problem and its line, and the store is untouched.
    bool importActions(const QByteArray &json, bool replace, QString *error);

    int importedCount() const { return m_importedCount; }
    // Imported actions with secret settings the file did not carry, left empty.
    int missingSecretCount() const { return m_missingSecretCount; }

private:
    ActionStore *m_store;
    int m_importedCount = 0;
    int m_missingSecretCount = 0;
};
