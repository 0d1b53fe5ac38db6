#include "actions/imagemanager.h"

#include "actions/filemanager.h"
#include "common/imagecodec.h"
#include "common/imagemetadatarewriter.h"
#include "common/imagestructure.h"
#include "actions/imagecategory.h"
#include "actions/pixelbudget.h"

#include <QFile>
#include <QSaveFile>
#include <QSize>
#include <QUrl>

#include <array>
#include <cmath>
#include <functional>

namespace {

// New orientation by current orientation (rows 1 to 8) and operation (90, -90, 180, mirror
// left-right, mirror top-bottom).
constexpr std::array<std::array<int, 5>, 8> orientationTable{{
    {6, 8, 3, 2, 4},
    {7, 5, 4, 1, 3},
    {8, 6, 1, 4, 2},
    {5, 7, 2, 3, 1},
    {2, 4, 7, 6, 8},
    {3, 1, 8, 5, 7},
    {4, 2, 5, 8, 6},
    {1, 3, 6, 7, 5},
}};

int applied(int orientation, int operation)
{
    return orientation >= 1 && orientation <= 8 ? orientationTable[orientation - 1][operation] : orientation;
}

bool validSide(std::optional<float> side)
{
    return !side || (*side >= 2 && *side <= 9999);
}

// The header of a file, read through a mapping so that big files are not copied for it.
bool fileHeader(const QString &path, ImageCodec::Header *header)
{
    QFile file(path);
    if (!FileManager::isRegularFile(path, nullptr) || !file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    uchar *mapped = file.map(0, file.size());
    if (!mapped)
        return ImageCodec::readHeader(file.readAll(), header);
    const bool read = ImageCodec::readHeader(QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), qsizetype(file.size())), header);
    file.unmap(mapped);
    return read;
}

// The size the scaled copy is asked for, or an empty size when the request is refused.
QSize targetSize(const ImageCodec::Header &header, std::optional<float> width, std::optional<float> height)
{
    if (!validSide(width) || !validSide(height))
        return QSize();
    const double w0 = header.width;
    const double h0 = header.height;
    double w = width.value_or(0);
    double h = height.value_or(0);
    if (w != w0 || h != h0) {
        const double rw = w / w0;
        const double rh = h / h0;
        if (rw > rh)
            h = std::ceil(h0 * rw);
        else
            w = std::ceil(w0 * rh);
    }
    return QSize(int(w), int(h));
}

QSize percentSize(const ImageCodec::Header &header, float percent)
{
    const double w = std::ceil(double(header.width) * percent / 100);
    const double h = std::ceil(double(header.height) * percent / 100);
    if (!(w >= 2 && h >= 2) || w > 1e6 || h > 1e6)
        return QSize();
    return QSize(int(w), int(h));
}

bool writeResult(const QString &path, const QByteArray &data)
{
    return !data.isEmpty() && ImageManager::writeFile(path, data);
}

using NewOrientation = std::function<int(int current)>;

int orientationKept(int current)
{
    return current == 0 ? 1 : current;
}

QByteArray changedMetadata(const QByteArray &data, const NewOrientation &orientation)
{
    ImageCodec::Header header;
    if (!ImageManager::metadataHeader(data, &header))
        return QByteArray();
    return ImageCodec::rewriteMetadata(data, orientation(header.orientation));
}

// A JPEG, PNG or WebP file is written piece by piece from the source's bytes, so that it is held
// in memory once.
bool changeFileMetadata(const QString &source, const QString &destFile, const NewOrientation &orientation)
{
    const QByteArray data = ImageManager::readFile(source);
    if (!ImageStructure::handles(ImageCodec::formatOf(data)))
        return writeResult(destFile, changedMetadata(data, orientation));
    ImageStructure::Layout layout;
    if (!ImageStructure::read(data, &layout))
        return false;
    const QByteArrayList pieces = ImageMetadataRewriter::pieces(data, layout, orientation(layout.header.orientation));
    QSaveFile file(destFile);
    if (pieces.isEmpty() || !file.open(QIODevice::WriteOnly))
        return false;
    for (const QByteArray &piece : pieces) {
        if (file.write(piece) != piece.size())
            return false;
    }
    return file.commit();
}

} // namespace

QByteArray ImageManager::compress(float quality, const QByteArray &sourceFileData)
{
    return ImageCodec::compressToJpeg(sourceFileData, quality);
}

bool ImageManager::metadataHeader(const QByteArray &data, ImageCodec::Header *header)
{
    ImageStructure::Layout layout;
    if (!ImageStructure::handles(ImageCodec::formatOf(data)))
        return ImageCodec::readHeader(data, header);
    if (!ImageStructure::read(data, &layout))
        return false;
    *header = layout.header;
    return true;
}

QByteArray ImageManager::removeMetadata(const QByteArray &data)
{
    return changedMetadata(data, &orientationKept);
}

bool ImageManager::removeMetadata(const QString &source, const QString &destFile)
{
    return changeFileMetadata(source, destFile, &orientationKept);
}

QByteArray ImageManager::changeData(const QByteArray &data, std::optional<float> width, std::optional<float> height)
{
    ImageCodec::Header header;
    if (!validSide(width) || !validSide(height) || !ImageCodec::readHeader(data, &header))
        return QByteArray();
    const QSize size = targetSize(header, width, height);
    return size.isEmpty() ? QByteArray() : ImageCategory::resizedImageData(data, size);
}

bool ImageManager::changeImgFile(const QString &source, const QString &destFile, std::optional<float> width,
                                 std::optional<float> height)
{
    ImageCodec::Header header;
    if (!validSide(width) || !validSide(height) || !fileHeader(source, &header))
        return false;
    const QSize size = targetSize(header, width, height);
    return !size.isEmpty() && writeResult(destFile, ImageCategory::resizedImageUrl(QUrl::fromLocalFile(source), size));
}

QByteArray ImageManager::changeDataToWidth(const QByteArray &data, float width)
{
    return changeData(data, width, std::nullopt);
}

QByteArray ImageManager::changeDataToHeight(const QByteArray &data, float height)
{
    return changeData(data, std::nullopt, height);
}

bool ImageManager::changeFileWithDestFileToWidth(const QString &source, const QString &destFile, float width)
{
    return changeImgFile(source, destFile, width, std::nullopt);
}

bool ImageManager::changeFileWithDestFileToHeight(const QString &source, const QString &destFile, float height)
{
    return changeImgFile(source, destFile, std::nullopt, height);
}

QByteArray ImageManager::changeDataToPercent(const QByteArray &data, float percent)
{
    ImageCodec::Header header;
    if (!ImageCodec::readHeader(data, &header))
        return QByteArray();
    const QSize size = percentSize(header, percent);
    return size.isEmpty() ? QByteArray() : ImageCategory::resizedImageData(data, size);
}

bool ImageManager::changeFileWithDestFileToPercent(const QString &source, const QString &destFile, float percent)
{
    ImageCodec::Header header;
    if (!fileHeader(source, &header))
        return false;
    const QSize size = percentSize(header, percent);
    return !size.isEmpty() && writeResult(destFile, ImageCategory::resizedImageUrl(QUrl::fromLocalFile(source), size));
}

int ImageManager::orientationAfter(int current, Mirror turn, double degrees)
{
    int orientation = current == 0 ? 1 : current;
    if (turn)
        orientation = applied(orientation, *turn ? 3 : 4);
    if (degrees == 90)
        orientation = applied(orientation, 0);
    else if (degrees == -90)
        orientation = applied(orientation, 1);
    else if (degrees == 180)
        orientation = applied(orientation, 2);
    return orientation;
}

QByteArray ImageManager::rotateImage(const QByteArray &data, Mirror turn, double degrees)
{
    return changedMetadata(data, [=](int current) { return orientationAfter(current, turn, degrees); });
}

bool ImageManager::rotateImage(const QString &source, const QString &destFile, Mirror turn, double degrees)
{
    return changeFileMetadata(source, destFile, [=](int current) { return orientationAfter(current, turn, degrees); });
}

bool ImageManager::writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

QByteArray ImageManager::readFile(const QString &path)
{
    QFile file(path);
    return FileManager::isRegularFile(path, nullptr) && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 ImageManager::workingBytes(const QString &path, bool metadataOnly)
{
    if (metadataOnly && FileManager::isRegularFile(path, nullptr)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && ImageStructure::handles(ImageCodec::formatOf(file.peek(16))))
            return 2 * file.size();
    }
    ImageCodec::Header header;
    return fileHeader(path, &header) ? PixelBudget::bytesFor(header.width, header.height) : 0;
}
