#pragma once

#include <QString>

// What the classifier needs to know of a file from its name alone; the file system is
// never consulted.
class FileTypes final
{
public:
    enum Kind {
        Image,
        SvgImage,
        Video,
        Other,
    };

    // The freedesktop MIME type name for the URL's path extension, empty when unknown.
    static QString identifierForExtension(const QString &extension);
    static Kind kindForExtension(const QString &extension);
    // The extension of a path's last component, trailing slashes ignored.
    static QString pathExtension(const QString &path);
};
