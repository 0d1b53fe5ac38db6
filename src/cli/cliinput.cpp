#include "cli/cliinput.h"

#include "actions/file/filemanager.h"
#include "image/imagecodec.h"
#include "actions/text/textactions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>

#include <sys/stat.h>

namespace {

// Standard input is "-"; a named input must be a regular file, so that a FIFO or a device
// given by mistake is refused instead of blocking or reading forever. No more than the limit
// and one byte is read.
bool readAll(const QString &path, qint64 limit, QByteArray *data, QString *error)
{
    QFile file;
    if (path != QLatin1String("-")) {
        Korvane::Error refusal;
        if (!FileManager::isRegularFile(path, &refusal)) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, refusal.localizedDescription());
            return false;
        }
    }
    const bool ok = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!ok) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    // A pipe hands its bytes over in pieces; read on until its end or one byte past the limit.
    data->clear();
    while (data->size() <= limit) {
        const QByteArray piece = file.read(qMin<qint64>(qint64(1) << 20, limit + 1 - data->size()));
        if (piece.isEmpty())
            break;
        data->append(piece);
    }
    if (data->size() > limit) {
        *error = QStringLiteral("%1 is larger than %2 MiB, the most this input may hold").arg(path).arg(limit >> 20);
        data->clear();
        return false;
    }
    return true;
}

} // namespace

bool CliInput::openTextFile(const QString &path, QFile *file, QString *error)
{
    Korvane::Error refusal;
    if (!FileManager::isRegularFile(path, &refusal)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, refusal.localizedDescription());
        return false;
    }
    file->setFileName(path);
    if (!file->open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file->errorString());
        return false;
    }
    if (file->size() > TextActions::MaximumTextLength) {
        *error = QStringLiteral("%1 is larger than %2 MiB, the most this input may hold").arg(path).arg(TextActions::MaximumTextLength >> 20);
        return false;
    }
    return true;
}

bool CliInput::addTextFile(const QString &path, QString *error)
{
    QByteArray data;
    if (!readAll(path, TextActions::MaximumTextLength, &data, error)) {
        m_unreadable = true;
        return false;
    }
    TransferItem item;
    item.setData(TransferType::String, data);
    m_pasteboard.addItem(item);
    return true;
}

bool CliInput::addFile(TransferType type, const QString &path, QString *error)
{
    QByteArray data;
    const qint64 limit = type == TransferType::PNG ? MaximumImageBytes : TextActions::MaximumTextLength;
    if (!readAll(path, limit, &data, error)) {
        m_unreadable = true;
        return false;
    }
    // Other programs put any image under the PNG type, damaged or empty ones included; the
    // image actions must cope with them, so only bytes that are plainly no image are refused.
    if (type == TransferType::PNG) {
        if (data.startsWith("II*") || data.startsWith("MM\0*")) {
            type = TransferType::TIFF;
        } else if (!data.isEmpty() && ImageCodec::formatOf(data) == ImageCodec::Format::Unknown) {
            *error = QStringLiteral("%1 is no image").arg(path);
            return false;
        }
    }
    TransferItem item;
    item.setData(type, data);
    m_pasteboard.addItem(item);
    return true;
}

bool CliInput::parse(QList<QByteArray> *args, QString *error)
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
                TransferItem item;
                item.setData(TransferType::String, QString::fromLocal8Bit(value).toUtf8());
                m_pasteboard.addItem(item);
            } else if (arg == "--text-file") {
                if (!addTextFile(QFile::decodeName(value), error))
                    return false;
            } else if (arg == "--rtf") {
                if (!addFile(TransferType::RTF, QFile::decodeName(value), error))
                    return false;
            } else if (!addFile(TransferType::PNG, QFile::decodeName(value), error)) {
                return false;
            }
            continue;
        }
        if (arg.startsWith("--") || arg == "-") {
            rest.append(arg);
            continue;
        }
        TransferItem item;
        item.setData(TransferType::FileURL, fileUrlForPath(arg));
        m_pasteboard.addItem(item);
    }
    *args = rest;
    return true;
}

QByteArray CliInput::fileUrlForPath(const QByteArray &path)
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
