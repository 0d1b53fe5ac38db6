#include "support/sharestandins.h"

#include "support/files.h"

#include <QDir>
#include <QFile>

namespace KorvaneTest {

bool installShareStandIns(const QString &bin, const QString &recordDir)
{
    QDir().mkpath(bin);
    QDir().mkpath(recordDir);
    const QByteArray folder = QFile::encodeName(recordDir);
    const QByteArray record = "{ for a in \"$@\"; do printf '%s\\0' \"$a\"; done; printf '\\036\\0'; } >>'" + folder + "/";
    return writeScript(bin + QStringLiteral("/xdg-email"), record + "xdg-email'\n")
        && writeScript(bin + QStringLiteral("/xdg-open"),
                       record + "xdg-open'\nstatus=0\n[ -r '" + folder + "/xdg-open.status' ] && read -r status <'" + folder
                           + "/xdg-open.status'\nexit \"$status\"\n")
        && writeScript(bin + QStringLiteral("/kdeconnect-cli"),
                       record + "kdeconnect-cli'\n"
                                "case \"$1\" in\n"
                                "--list-available) printf '%s' \"$KDECONNECT_DEVICES\"; exit \"${KDECONNECT_LIST_STATUS:-0}\";;\n"
                                "esac\n"
                                "exit \"${KDECONNECT_SEND_STATUS:-0}\"\n");
}

QList<QStringList> recordedCalls(const QString &recordDir, const QString &tool)
{
    QFile file(recordDir + QLatin1Char('/') + tool);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> result;
    QStringList current;
    const QList<QByteArray> pieces = file.readAll().split('\0');
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        if (pieces.at(i) == "\036") {
            result.append(current);
            current.clear();
        } else {
            current.append(QString::fromUtf8(pieces.at(i)));
        }
    }
    return result;
}

} // namespace KorvaneTest
