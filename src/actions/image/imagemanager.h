#pragma once

#include "image/imagecodec.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The image arithmetic behind the image actions: compression, scaling, turning through the
// orientation value and removing metadata, each on bytes and on a file. Results that write a
// file write it atomically: a failed write leaves the destination as it was.
class ImageManager final
{
public:
    ImageManager() = delete;

    // Mirror choice: absent no mirror, true left-right, false top-bottom.
    using Mirror = std::optional<bool>;

    static QByteArray compress(float quality, const QByteArray &sourceFileData);

    // The file twins of the metadata changes set *damaged when the source is a JPEG, PNG or WebP
    // that is cut short or damaged (see ImageStructure::walk): nothing is written then.
    static QByteArray removeMetadata(const QByteArray &data);
    static bool removeMetadata(const QString &source, const QString &destFile, bool *damaged = nullptr);

    static QByteArray changeData(const QByteArray &data, std::optional<float> width, std::optional<float> height);
    static bool changeImgFile(const QString &source, const QString &destFile, std::optional<float> width,
                              std::optional<float> height);
    static QByteArray changeDataToWidth(const QByteArray &data, float width);
    static QByteArray changeDataToHeight(const QByteArray &data, float height);
    static bool changeFileWithDestFileToWidth(const QString &source, const QString &destFile, float width);
    static bool changeFileWithDestFileToHeight(const QString &source, const QString &destFile, float height);
    static QByteArray changeDataToPercent(const QByteArray &data, float percent);
    static bool changeFileWithDestFileToPercent(const QString &source, const QString &destFile, float percent);

    static QByteArray rotateImage(const QByteArray &data, Mirror turn, double degrees);
    static bool rotateImage(const QString &source, const QString &destFile, Mirror turn, double degrees,
                            bool *damaged = nullptr);

    // The orientation that shows the image as the current one would, then mirrored, then turned.
    static int orientationAfter(int current, Mirror turn, double degrees);

    // Replaces the file through a temporary file beside it; false when anything fails.
    static bool writeFile(const QString &path, const QByteArray &data);
    // The whole file, or nothing when it cannot be read.
    static QByteArray readFile(const QString &path);
    // The header a metadata change needs: JPEG, PNG and WebP are read from their own
    // structure, without loading the image libraries.
    static bool metadataHeader(const QByteArray &data, ImageCodec::Header *header);
    // What working on the image file holds in memory, from its header; 0 when it is no image.
    // A metadata change of a JPEG, PNG or WebP decodes nothing and holds a window of the file
    // and one of its copy.
    static qint64 workingBytes(const QString &path, bool metadataOnly = false);
};
