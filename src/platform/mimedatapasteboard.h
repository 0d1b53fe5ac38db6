#pragma once

#include "korvanepasteboard.h"

class QMimeData;

// Turns a drag's or the clipboard's MIME data into pasteboard items, and back.
class MimeDataPasteboard final
{
public:
    // One file-URL item per entry of text/uri-list, then one item each for PNG, TIFF,
    // plain text and RTF data.
    static KorvanePasteboard fromMimeData(const QMimeData *mime);
    static QMimeData *mimeDataForText(const QString &text);
    static QMimeData *mimeDataForImage(const QByteArray &data, const QString &mimeType);
    static QMimeData *mimeDataForObjects(const QVariantList &objects);
};
