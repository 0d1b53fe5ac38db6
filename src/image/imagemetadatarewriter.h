#pragma once

#include <QByteArray>

#include <functional>

class QIODevice;

// Metadata changes of JPEG, PNG and WebP files made part by part with Qt alone: the compressed
// image is copied byte for byte, nothing is decoded and the image libraries are never loaded.
// The result has an EXIF block holding only the orientation, and of everything else only what
// decoding and colour need: the colour profile stays; camera data, location, texts, times, XMP,
// IPTC, comments, unknown parts and whatever follows the image's end go. Formats that hold their
// metadata inside the image data go to ImageCodec.
class ImageMetadataRewriter final
{
public:
    ImageMetadataRewriter() = delete;

    // The orientation to write, from the one the source has (0 for none).
    using NewOrientation = std::function<int(int current)>;

    enum class Result {
        Written,
        // The source is no sound JPEG, PNG or WebP (see ImageStructure::walk).
        Damaged,
        // Sound, but above ImageCodec::maxPixels, or the target could not be written.
        Failed,
    };

    // Empty for data that is no sound JPEG, PNG or WebP of at most ImageCodec::maxPixels.
    static QByteArray rewrite(const QByteArray &data, int orientation);

    // From the source's position on to the target, which must allow seeking back over what was
    // written: the source is read once through a window of bounded size and the target written
    // as it goes, so that no file is ever held whole; a file target on another thread when one
    // is free (see BackgroundWriter). What the target holds after anything but Written is to be
    // thrown away.
    static Result rewrite(QIODevice *source, QIODevice *target, const NewOrientation &orientation);
};
