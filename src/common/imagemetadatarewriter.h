#pragma once

#include "common/imagestructure.h"

#include <QByteArray>
#include <QByteArrayList>

// Metadata changes of JPEG, PNG and WebP files made segment by segment with Qt alone: the
// compressed image is copied byte for byte, nothing is decoded and the image libraries are
// never loaded. Formats that hold their metadata inside the image data go to ImageCodec.
class ImageMetadataRewriter final
{
public:
    ImageMetadataRewriter() = delete;

    // The image with an EXIF block holding only the orientation, and of everything else only
    // what decoding and colour need: the colour profile stays; camera data, location, texts,
    // times, XMP, IPTC, comments, unknown parts and whatever follows the image's end go. Empty
    // for data that is no sound JPEG, PNG or WebP (see ImageStructure::read).
    static QByteArray rewrite(const QByteArray &data, int orientation);

    // The same in pieces, in order, from the layout ImageStructure::read found in the data: the
    // large parts are slices of data itself, which must outlive them, so that a file is written
    // without a second copy of it in memory.
    static QByteArrayList pieces(const QByteArray &data, const ImageStructure::Layout &layout, int orientation);
};
