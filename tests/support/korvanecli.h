#pragma once

// The real korvane executable, on data folders of its own or on the test's, and plain SQL on
// its store.
#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace KorvaneTest {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonDocument json() const { return QJsonDocument::fromJson(out); }
    QByteArray all() const { return out + err; }
};

// The executable under test, as CTest names it.
QString korvaneBinary();

// Run as root, korvane runs without root's power over file modes, so they bite as they do
// for a user: the program and arguments are rewritten to go through setpriv.
void dropRootPower(QString &program, QStringList &args);

// Waits with the event loop running, so that stand-ins in the test process answer.
Result finish(QProcess &process, int timeoutMs = 120000);

// Runs a program with nothing on its standard input and waits for it.
Result runProgram(const QString &program, const QStringList &args,
                  const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(), int timeoutMs = 240000);

// Runs korvane in this process's environment (the test's own XDG folders) and waits for it.
Result runKorvane(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// Adds an action with "korvane add" and gives its id, or nothing when that failed.
QString addAction(const QStringList &args);

QByteArray checksum(const QString &path);

// Runs the statements on a database file; the first column of the rows the last one gives.
QStringList sql(const QString &path, const QStringList &statements);

// korvane in a sandbox: XDG folders, working folder and language of its own.
class Sandbox
{
public:
    explicit Sandbox(const QString &lang = QStringLiteral("en_US.UTF-8"))
        : m_lang(lang)
    {
    }

    Result run(const QStringList &args, const QByteArray &input = QByteArray()) const;
    void start(QProcess &process, QStringList args) const;

    QJsonArray list() const { return run({QStringLiteral("list"), QStringLiteral("--json")}).json().array(); }
    QString dataHome() const { return path(QStringLiteral("data")); }
    QString storePath() const { return dataHome() + QLatin1String("/korvane/KVCoreData.sqlite"); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The file's path, or nothing when it could not be written.
    QString write(const QString &name, const QByteArray &content) const;
    // Puts a folder in front of PATH, for stand-ins of desktop tools.
    void prependPath(const QString &folder) { m_path = folder; }
    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }

private:
    QHash<QString, QString> m_env;
    QString m_path;
    QTemporaryDir m_dir;
    QString m_lang;
};

} // namespace KorvaneTest
