#pragma once

#include "support/ocrimages.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace vips {
class VImage;
}

// Real image files for the image tests: rendered by Qt, with metadata written by Exiv2, and
// the parts of a file that must survive a metadata change read back byte for byte.
namespace KorvaneTest {

// Four differently coloured quadrants, so that every turn and mirror shows.
QImage quadrants(int width, int height, bool transparent = false);

QByteArray displayP3Profile();

// Writes the orientation (0: none) and an artist and a comment, as a camera would.
QByteArray withMetadata(const QByteArray &data, int orientation, const char *artist = "Camera Owner");

struct Metadata {
    int orientation = 0;
    QString artist;
    bool hasXmp = false;
    QByteArray icc;
};

Metadata metadataOf(const QByteArray &data);

// The JPEG's compressed image: from the start-of-scan marker to the end.
QByteArray jpegScan(const QByteArray &data);

// Every chunk of a PNG by type, data only, in order; with an empty type, the types in order.
QByteArray pngChunks(const QByteArray &data, const QByteArray &type);

// Every kind of PNG metadata, each saying "Planted" where it is stored as plain text: text,
// compressed text, international text with XMP, a modification time and an eXIf block (with
// orientation 3).
QByteArray withPlantedChunks(const QByteArray &png);

// A comment, IPTC, a maker segment and an appended preview image, as cameras and editors write them.
QByteArray withPlantedSegments(const QByteArray &jpeg, const QByteArray &preview);

// The image in the format of the suffix (".webp", ".tif[compression=lzw]"), written by libvips.
QByteArray written(const vips::VImage &image, const char *suffix);

QByteArray vipsEncoded(const QByteArray &data, const char *suffix);

// A CMYK JPEG as print workflows write it: four bands, no colour profile.
QByteArray cmykJpeg(int width, int height);

// Camera-like grain over the picture, so that lossy compression has something to save.
QImage grainy(QImage image);

// A PNG with 16 bits per sample.
QByteArray png16(int width, int height);

// What a viewer shows: the pixels turned as the orientation value says.
QImage shown(const QByteArray &data);

QSize storedSize(const QByteArray &data);

} // namespace KorvaneTest
