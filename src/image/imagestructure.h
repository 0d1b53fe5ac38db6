#pragma once

#include "image/imagecodec.h"

#include <QByteArray>
#include <QByteArrayView>

class QIODevice;

// Reads the structure of JPEG, PNG and WebP files with Qt alone: their segments or chunks, the
// size in their headers and the EXIF orientation, without decoding a pixel and without the
// image libraries. A file is walked once from start to end through a window of at most
// windowSize bytes, so that its size never decides the memory a walk takes; every length read
// from the data is checked against what follows it.
class ImageStructure final
{
public:
    ImageStructure() = delete;

    // The most entries of an EXIF directory looked through for the orientation; a directory
    // claiming more is read as holding none. Cameras write a few dozen.
    static constexpr int maxDirectoryEntries = 1000;
    // The most of an EXIF block looked through for the orientation, which cameras write in its
    // first directory: a JPEG cannot hold more in one segment.
    static constexpr qsizetype maxExifRead = 65536;
    // The most text a PNG's EXIF text chunk may hold, packed or unpacked, to be looked into for
    // the orientation; EXIF blocks are at most 64 KiB, twice that in hexadecimal.
    static constexpr qsizetype maxProfileText = qsizetype(1) << 20;
    // What a walk reads at once and holds at most of the file: a JPEG segment, or a chunk's
    // header with maxExifRead bytes of its body, fit in it whole.
    static constexpr qsizetype windowSize = 128 * 1024;

    enum class PartKind {
        // The format's signature: a JPEG's start marker, a PNG's eight bytes, WebP's RIFF header.
        Start,
        // A JPEG segment before the first scan, its marker and length included.
        Segment,
        // A JPEG's compressed image: from its first scan up to and with the end marker that
        // closes it, with the tables and scans between; anything after it is no part of it.
        Image,
        // A PNG chunk, length and checksum included, or a WebP chunk without its pad byte.
        Chunk,
    };

    struct Part {
        PartKind kind = PartKind::Start;
        // A PNG or WebP chunk's type; a JPEG segment's marker.
        QByteArrayView type;
        // The start of the body, maxExifRead bytes of it at most; valid during wants() only.
        QByteArrayView body;
        // The whole body's size.
        qint64 size = 0;
        // The first chunk after a WebP's RIFF header.
        bool first = false;
    };

    // Told of every part of a file as the walk meets it, and given the bytes of those it wants.
    class Visitor
    {
    public:
        virtual ~Visitor() = default;
        // Whether the part's bytes are wanted; they then go to write() in order, in blocks.
        virtual bool wants(const Part &part) = 0;
        // When the file is read from a device, window holds the bytes and may be kept to
        // write them from later instead of copying them (the walk reads on into another
        // window meanwhile, so a visitor keeps a few at most); else it is null.
        virtual void write(QByteArrayView bytes, const QByteArray &window) = 0;
    };

    // JPEG, PNG and WebP: the formats whose structure this class reads.
    static bool handles(ImageCodec::Format format);

    // Walks the JPEG, PNG or WebP read from the device's position on, filling the header. False
    // for any other data and for one whose parts are cut short, run past its end or beside
    // their markers, whose PNG chunks fail their checksums, that reaches no end marker, or
    // whose size is zero; the visitor may have been given bytes by then.
    static bool walk(QIODevice *device, ImageCodec::Header *header, Visitor *visitor = nullptr);
    static bool walk(QByteArrayView data, ImageCodec::Header *header, Visitor *visitor = nullptr);

    // The header of a sound JPEG, PNG or WebP (see walk) of at most ImageCodec::maxPixels.
    static bool read(QByteArrayView data, ImageCodec::Header *header);

    // Whether the data may be handed to a decoder: a JPEG, PNG or WebP must pass walk(); other
    // formats are left to their decoders.
    static bool isSound(QByteArrayView data);
    static bool isSound(QIODevice *device);

    // The orientation in an EXIF block (a TIFF header and its first directory, with or without
    // the "Exif\0\0" that JPEG puts before it): 1 to 8, or 0 when it has none, cannot be read
    // or holds another value, which no viewer turns by.
    static int exifOrientation(QByteArrayView exif);
};
