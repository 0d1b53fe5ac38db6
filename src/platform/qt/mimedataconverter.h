#pragma once

#include "intake/transferdata.h"

class QMimeData;

// Turns a drag's or the clipboard's MIME data into pasteboard items, and back.
class MimeDataConverter final
{
public:
    // Files past this many in one list are left out.
    static constexpr int MaximumFileItems = 100000;

    // One file-URL item per entry of the file list (text/uri-list, GNOME's or KDE's own),
    // folders ending in "/", then one item each for PNG, TIFF, plain text and RTF data.
    static TransferData fromMimeData(const QMimeData *mime);
    static QMimeData *mimeDataForText(const QString &text);
    static QMimeData *mimeDataForImage(const QByteArray &data, const QString &mimeType);
    static QMimeData *mimeDataForObjects(const QVariantList &objects);
};
