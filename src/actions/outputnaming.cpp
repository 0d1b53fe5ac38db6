#include "actions/outputnaming.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

// The extension of a path's last component; a leading dot does not start one.
QString extensionOf(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash + 1 ? path.mid(dot + 1) : QString();
}

} // namespace

QUrl OutputNaming::savePathUrl(const QString &path)
{
    if (path.isEmpty())
        return QUrl();
    if (path == QLatin1String("~"))
        return QUrl::fromLocalFile(QDir::homePath());
    if (path.startsWith(QLatin1String("~/")))
        return QUrl::fromLocalFile(QDir::homePath() + QLatin1Char('/') + path.mid(2));
    return QUrl::fromLocalFile(path);
}

QString OutputNaming::destFile(const QUrl &folder, const QUrl &sourceUrl, const QString &endName)
{
    const QString source = sourceUrl.toLocalFile();
    const int slash = source.lastIndexOf(QLatin1Char('/'));
    const QString name = source.mid(slash + 1);
    const QString extension = extensionOf(name);
    const QString base = extension.isEmpty() ? name : name.left(name.size() - extension.size() - 1);
    const QString dir = slash > 0 ? source.left(slash) : QStringLiteral("/");

    const QString folderPath = folder.isValid() ? folder.toLocalFile() : QString();
    if (!folderPath.isEmpty())
        return QDir(folderPath).filePath(base) + endName;
    if (!endName.isEmpty())
        return QDir(dir).filePath(base) + endName;
    return source;
}

QString OutputNaming::destFile(const QString &path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return path;
    const QString extension = extensionOf(path);
    const QString stem = extension.isEmpty() ? path : path.left(path.size() - extension.size() - 1);
    for (qint64 n = 1; n < std::numeric_limits<qint64>::max() - 1; ++n) {
        const QString candidate = extension.isEmpty() ? stem + QString::number(n)
                                                      : stem + QString::number(n) + QLatin1Char('.') + extension;
        const QFileInfo info(candidate);
        if (!info.exists() && !info.isSymLink())
            return candidate;
    }
    return QString();
}

QString OutputNaming::sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QString::number(bytes) + QLatin1Char('B');
    if (bytes < 1048576)
        return QString::number(double(bytes) * (1.0 / 1024), 'f', 2) + QLatin1Char('K');
    return QString::number(double(bytes) * (1.0 / 1048576), 'f', 2) + QLatin1Char('M');
}

QString OutputNaming::urlEncoded(const QString &string)
{
    // Unreserved characters always stay; these are the rest of the query's allowed set.
    return QString::fromLatin1(string.toUtf8().toPercentEncoding("!$&'()*+,/:;=?@"));
}

QString OutputNaming::letterAt(const QString &startLetter, qint64 index)
{
    static const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QString lower = startLetter.toLower();
    const qsizetype start = lower.isEmpty() ? 0 : qMax<qsizetype>(0, alphabet.indexOf(lower.at(0)));
    const qint64 position = ((start + index) % 26 + 26) % 26;
    const QString letter = alphabet.mid(position, 1);
    return startLetter == lower ? letter : letter.toUpper();
}

QString OutputNaming::randomKey()
{
    // Keys name uploaded objects, so they come from the system's cryptographic source.
    static const QLatin1String characters("0123456789abcdefghijklmnopqrstuvwxyz");
    QString key;
    for (int i = 0; i < 5; ++i)
        key += characters[QRandomGenerator::system()->bounded(int(characters.size()))];
    return key;
}
