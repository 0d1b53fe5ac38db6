#include "support/korvanecli.h"

#include "support/files.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <unistd.h>

namespace KorvaneTest {

QString korvaneBinary()
{
    return QString::fromLocal8Bit(qgetenv("KORVANE_BINARY"));
}

void dropRootPower(QString &program, QStringList &args)
{
    if (::geteuid() != 0)
        return;
    args = QStringList{QStringLiteral("--inh-caps=-dac_override,-dac_read_search"),
                       QStringLiteral("--bounding-set=-dac_override,-dac_read_search"), program}
        + args;
    program = QStringLiteral("setpriv");
}

Result finish(QProcess &process, int timeoutMs)
{
    Result result;
    if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, timeoutMs)
        || process.error() == QProcess::FailedToStart) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

Result runProgram(const QString &program, const QStringList &args, const QProcessEnvironment &env, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    process.closeWriteChannel();
    return finish(process, timeoutMs);
}

Result runKorvane(const QStringList &args, const QProcessEnvironment &env)
{
    return runProgram(korvaneBinary(), args, env);
}

QString addAction(const QStringList &args)
{
    const Result added = runKorvane(QStringList{QStringLiteral("add")} + args);
    if (added.exitCode != 0)
        qWarning("korvane add failed: %s", added.err.constData());
    return added.exitCode == 0 ? QString::fromUtf8(added.out.trimmed()) : QString();
}

QByteArray checksum(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList sql(const QString &path, const QStringList &statements)
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

Result Sandbox::run(const QStringList &args, const QByteArray &input) const
{
    QProcess process;
    start(process, args);
    process.write(input);
    process.closeWriteChannel();
    return finish(process);
}

void Sandbox::start(QProcess &process, QStringList args) const
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
    QString program = korvaneBinary();
    dropRootPower(program, args);
    process.start(program, args);
}

QString Sandbox::write(const QString &name, const QByteArray &content) const
{
    return writtenFile(path(name), content);
}

} // namespace KorvaneTest
