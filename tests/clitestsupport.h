#pragma once

// The real korvane executable on data folders of its own, and plain SQL on its store.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonDocument json() const { return QJsonDocument::fromJson(out); }
};

inline QByteArray checksum(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Runs the statements on a database file; the first column of the rows the last one gives.
inline QStringList sql(const QString &path, const QStringList &statements)
{
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            for (const QString &statement : statements) {
                if (!query.exec(statement))
                    values = QStringList{QStringLiteral("failed: ") + statement};
            }
            while (query.isSelect() && query.next())
                values.append(query.value(0).toString());
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return values;
}

class Korvane
{
public:
    explicit Korvane(const QString &lang = QStringLiteral("en_US.UTF-8"))
        : m_lang(lang)
    {
    }

    Result run(const QStringList &args, const QByteArray &input = QByteArray()) const
    {
        QProcess process;
        start(process, args);
        process.write(input);
        process.closeWriteChannel();
        return finish(process);
    }

    // Run as root, korvane runs without root's power over file modes, so they bite as
    // they do for a user.
    void start(QProcess &process, QStringList args) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!m_path.isEmpty())
            env.insert(QStringLiteral("PATH"), m_path + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("LANG"), m_lang);
        for (const char *name : {"LANGUAGE", "LC_ALL", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        for (auto it = m_env.cbegin(); it != m_env.cend(); ++it)
            env.insert(it.key(), it.value());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        QString program = QString::fromLocal8Bit(qgetenv("KORVANE_BINARY"));
        if (::geteuid() == 0) {
            args = QStringList{"--inh-caps=-dac_override,-dac_read_search", "--bounding-set=-dac_override,-dac_read_search", program} + args;
            program = QStringLiteral("setpriv");
        }
        process.start(program, args);
    }

    // Waits with the event loop running, so that stand-ins in the test process answer.
    static Result finish(QProcess &process)
    {
        Result result;
        if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 120000)
            || process.error() == QProcess::FailedToStart)
            return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QJsonArray list() const { return run({"list", "--json"}).json().array(); }
    QString dataHome() const { return path(QStringLiteral("data")); }
    QString storePath() const { return dataHome() + QLatin1String("/korvane/KVCoreData.sqlite"); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString write(const QString &name, const QByteArray &content) const
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return QString();
        return file.fileName();
    }
    // Puts a folder in front of PATH, for stand-ins of desktop tools.
    void prependPath(const QString &folder) { m_path = folder; }
    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }

private:
    QHash<QString, QString> m_env;
    QString m_path;
    QTemporaryDir m_dir;
    QString m_lang;
};
