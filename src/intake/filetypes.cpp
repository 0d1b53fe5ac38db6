#include "intake/filetypes.h"

#include <QHash>
#include <QMimeDatabase>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

struct CachedType {
    QString identifier;
    FileTypes::Kind kind;
};

// The photo formats, as the shared MIME database names them. Opening the database costs a
// process about a millisecond and a few hundred kilobytes, more than a metadata change of a
// dropped photo takes: these are known without it.
constexpr std::pair<const char *, const char *> photoTypes[] = {
    {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},
    {"png", "image/png"},
    {"webp", "image/webp"},
    {"gif", "image/gif"},
    {"bmp", "image/bmp"},
    {"tif", "image/tiff"},
    {"tiff", "image/tiff"},
};

// A drop of thousands of files repeats a handful of extensions: look each one up once.
const CachedType &lookup(const QString &extension)
{
    thread_local QHash<QString, CachedType> cache;
    // Extensions come back in the same spelling: look them up as they are before folding case.
    auto it = cache.constFind(extension);
    if (it != cache.constEnd())
        return *it;
    const QString key = extension.toLower();
    it = cache.constFind(key);
    if (it != cache.constEnd())
        return *cache.insert(extension, *it);

    CachedType entry{QString(), FileTypes::Other};
    const auto photo = std::find_if(std::begin(photoTypes), std::end(photoTypes),
                                    [&](const auto &type) { return key == QLatin1String(type.first); });
    if (photo != std::end(photoTypes)) {
        entry = {QLatin1String(photo->second), FileTypes::Image};
    } else if (!key.isEmpty()) {
        static const QMimeDatabase db;
        const QMimeType mime = db.mimeTypeForFile(QLatin1String("x.") + key, QMimeDatabase::MatchExtension);
        if (!mime.isDefault()) {
            entry.identifier = mime.name();
            if (mime.inherits(QStringLiteral("image/svg+xml")))
                entry.kind = FileTypes::SvgImage;
            else if (entry.identifier.startsWith(QLatin1String("image/")))
                entry.kind = FileTypes::Image;
            else if (entry.identifier.startsWith(QLatin1String("video/")))
                entry.kind = FileTypes::Video;
        }
    }
    cache.insert(key, entry);
    return *cache.insert(extension, entry);
}

} // namespace

QString FileTypes::identifierForExtension(const QString &extension)
{
    return lookup(extension).identifier;
}

FileTypes::Kind FileTypes::kindForExtension(const QString &extension)
{
    return lookup(extension).kind;
}

QString FileTypes::pathExtension(const QString &path)
{
    int end = path.size();
    while (end > 0 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const int slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    const int dot = path.lastIndexOf(QLatin1Char('.'), end - 1);
    // A name that starts with its only dot (".bashrc") has no extension.
    if (dot <= slash + 1)
        return QString();
    return path.mid(dot + 1, end - dot - 1);
}
