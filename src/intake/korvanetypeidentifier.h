#pragma once

#include <QString>

class QUrl;

// What the classifier needs to know of a file from its name alone; the file system is
// never consulted.
class KorvaneTypeIdentifier final
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
    // The extension of a URL's last path component, trailing slashes ignored.
    static QString pathExtension(const QUrl &url);
};
