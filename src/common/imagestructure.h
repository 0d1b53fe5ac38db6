#pragma once

#include "common/imagecodec.h"

#include <QByteArray>
#include <QByteArrayView>

// Reads the structure of JPEG, PNG and WebP files with Qt alone: their segments or chunks, the
// size in their headers and the EXIF orientation, without decoding a pixel and without the
// image libraries. Every length and offset read from the data is checked against its size.
class ImageStructure final
{
public:
    ImageStructure() = delete;

    // The most entries of an EXIF directory looked through for the orientation; a directory
    // claiming more is read as holding none. Cameras write a few dozen.
    static constexpr int maxDirectoryEntries = 1000;
    // The most text a PNG's compressed EXIF text chunk is unpacked to; EXIF blocks are at most
    // 64 KiB, twice that in hexadecimal.
    static constexpr qsizetype maxProfileText = qsizetype(1) << 20;

    struct Layout {
        ImageCodec::Header header;
        // JPEG: from the first start-of-scan marker to just past the end marker that closes the
        // image; anything after it (previews, maker trailers) is no part of the image.
        qsizetype scanStart = 0;
        qsizetype imageEnd = 0;
    };

    // JPEG, PNG and WebP: the formats whose structure this class reads.
    static bool handles(ImageCodec::Format format);

    // The layout of a JPEG, PNG or WebP. False for any other data and for one whose parts are
    // cut short, run past its end or beside its markers, whose PNG chunks fail their checksums,
    // that reaches no end marker, or whose size is zero or above ImageCodec::maxPixels.
    static bool read(const QByteArray &data, Layout *layout);

    // Whether the data may be handed to a decoder: a JPEG, PNG or WebP must pass read() but
    // for its size; other formats are left to their decoders.
    static bool isSound(const QByteArray &data);

    // The orientation in an EXIF block (a TIFF header and its first directory, with or without
    // the "Exif\0\0" that JPEG puts before it); 0 when it has none or cannot be read.
    static int exifOrientation(QByteArrayView exif);

private:
    static bool readStructure(const QByteArray &data, Layout *layout);
};
