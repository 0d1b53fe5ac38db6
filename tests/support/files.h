#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Real files written and read back, and a tmpfs mount for the cases that need a second file
// system.
namespace KorvaneTest {

// Creates the folders on the way.
bool writeFile(const QString &path, const QByteArray &content);
// The same, giving the file's path, or nothing when it could not be written.
QString writtenFile(const QString &path, const QByteArray &content);
QByteArray readFile(const QString &path);
// An executable shell script of the body.
bool writeScript(const QString &path, const QByteArray &body);

// Every file and link under the folder by relative path: a file's content, or "->" and a
// link's target. Hidden entries count too, so leftovers show.
QMap<QString, QByteArray> tree(const QString &root);

quint64 deviceOf(const QString &path);

// A tmpfs at the path for the test's lifetime; only root may mount one.
class TmpfsMount final
{
public:
    explicit TmpfsMount(const QString &path, const QByteArray &options = "size=64m");
    ~TmpfsMount();
    bool isMounted() const { return m_mounted; }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

// Arguments that run the command with one more argument of raw bytes, written by the shell's
// printf: QProcess would turn bytes that are not UTF-8 into U+FFFD.
QStringList withRawArgument(const QString &program, const QStringList &arguments, const QByteArray &raw);

// The entries of one folder by their bytes, with what they hold (up to 64 bytes).
QMap<QByteArray, QByteArray> rawEntries(const QByteArray &folder);

} // namespace KorvaneTest
