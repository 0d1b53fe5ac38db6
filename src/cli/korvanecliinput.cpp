#include "korvanecliinput.h"

#include "imagecodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

#include <sys/stat.h>

namespace {

bool readAll(const QString &path, QByteArray *data, QString *error)
{
    QFile file;
    const bool ok = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!ok) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    *data = file.readAll();
    return true;
}

} // namespace

bool KorvaneCliInput::addTextFile(const QString &path, QString *error)
{
    QByteArray data;
    if (!readAll(path, &data, error))
        return false;
    KorvanePasteboardItem item;
    item.setData(KorvanePasteboardType::String, data);
    m_pasteboard.addItem(item);
    return true;
}

bool KorvaneCliInput::addFile(KorvanePasteboardType type, const QString &path, QString *error)
{
    QByteArray data;
    if (!readAll(path, &data, error))
        return false;
    // Other programs put any image under the PNG type, damaged or empty ones included; the
    // image actions must cope with them, so only bytes that are plainly no image are refused.
    if (type == KorvanePasteboardType::PNG) {
        if (data.startsWith("II*") || data.startsWith("MM\0*")) {
            type = KorvanePasteboardType::TIFF;
        } else if (!data.isEmpty() && ImageCodec::formatOf(data) == ImageCodec::Format::Unknown) {
            *error = QStringLiteral("%1 is no image").arg(path);
            return false;
        }
    }
    KorvanePasteboardItem item;
    item.setData(type, data);
    m_pasteboard.addItem(item);
    return true;
}

bool KorvaneCliInput::parse(QList<QByteArray> *args, QString *error)
{
    QList<QByteArray> rest;
    for (int i = 0; i < args->size(); ++i) {
        const QByteArray &arg = args->at(i);
        const bool takesValue = arg == "--text" || arg == "--text-file" || arg == "--rtf" || arg == "--image";
        if (takesValue) {
            if (i + 1 >= args->size()) {
                *error = QStringLiteral("%1 needs a value").arg(QString::fromLocal8Bit(arg));
                return false;
            }
            const QByteArray value = args->at(++i);
            if (arg == "--text") {
                KorvanePasteboardItem item;
                item.setData(KorvanePasteboardType::String, QString::fromLocal8Bit(value).toUtf8());
                m_pasteboard.addItem(item);
            } else if (arg == "--text-file") {
                if (!addTextFile(QFile::decodeName(value), error))
                    return false;
            } else if (arg == "--rtf") {
                if (!addFile(KorvanePasteboardType::RTF, QFile::decodeName(value), error))
                    return false;
            } else if (!addFile(KorvanePasteboardType::PNG, QFile::decodeName(value), error)) {
                return false;
            }
            continue;
        }
        if (arg.startsWith("--") || arg == "-") {
            rest.append(arg);
            continue;
        }
        KorvanePasteboardItem item;
        item.setData(KorvanePasteboardType::FileURL, fileUrlForPath(arg));
        m_pasteboard.addItem(item);
    }
    *args = rest;
    return true;
}

QByteArray KorvaneCliInput::fileUrlForPath(const QByteArray &path)
{
    // Work on the bytes of the name: a name that is not valid UTF-8 stays percent-encoded
    // instead of losing characters. A path names a file item whether or not it exists;
    // only a folder that exists is known to be one.
    QByteArray absolute = path.startsWith('/') ? path : QFile::encodeName(QDir::currentPath()) + '/' + path;
    while (absolute.endsWith('/') && absolute.size() > 1)
        absolute.chop(1);
    struct stat st;
    if (::stat(absolute.constData(), &st) == 0 && S_ISDIR(st.st_mode) && absolute != "/")
        absolute += '/';
    return "file://" + absolute.toPercentEncoding("/!$&'()*+,;=:@");
}
