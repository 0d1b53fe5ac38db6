#include "actions/image/imagemanager.h"

#include "actions/file/filemanager.h"
#include "actions/file/localpaths.h"
#include "image/imagecodec.h"
#include "image/imagemetadatarewriter.h"
#include "image/imagestructure.h"
#include "actions/image/imagecategory.h"
#include "actions/image/pixelbudget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSize>
#include <QTemporaryFile>
#include <QUrl>

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sys/stat.h>

namespace {

// A result is written under a hidden name beside its path and takes the path's name, and its
// permissions, once it is whole, so that nobody ever sees half of it. It is not synced to disk:
// no source is ever written to, so a crash can cost a result but nobody's data, and a sync
// costs more than the whole work of a metadata change.
class ResultFile
{
public:
    explicit ResultFile(const QString &path)
        : m_path(path)
        , m_file(QFileInfo(path).dir().filePath(QStringLiteral(".XXXXXX-") + QFileInfo(path).fileName()))
    {
    }

    QIODevice *open() { return m_file.open() ? &m_file : nullptr; }

    bool commit()
    {
        const QByteArray path = QFile::encodeName(m_path);
        struct stat status {};
        const mode_t mode = ::stat(path.constData(), &status) == 0 ? status.st_mode & 07777 : 0644;
        if (!m_file.flush() || ::fchmod(m_file.handle(), mode) != 0
            || LocalPaths::replace(QFile::encodeName(m_file.fileName()), path) != 0)
            return false;
        m_file.setAutoRemove(false);
        return true;
    }

private:
    QString m_path;
    QTemporaryFile m_file;
};

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
    return orientationTable[orientation - 1][operation];
}

bool validSide(std::optional<float> side)
{
    return !side || (*side >= 2 && *side <= 9999);
}

// The header of a file, read through a mapping so that big files are not copied for it, and
// for JPEG, PNG and WebP without the image plug-in.
bool fileHeader(const QString &path, ImageCodec::Header *header)
{
    QFile file(path);
    if (!FileManager::isRegularFile(path, nullptr) || !file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    uchar *mapped = file.map(0, file.size());
    if (!mapped)
        return ImageManager::metadataHeader(file.readAll(), header);
    const bool read = ImageManager::metadataHeader(QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), qsizetype(file.size())), header);
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

using NewOrientation = ImageMetadataRewriter::NewOrientation;

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

// A JPEG, PNG or WebP file is read once, a window at a time, and its copy written as it is read.
bool changeFileMetadata(const QString &source, const QString &destFile, const NewOrientation &orientation, bool *damaged)
{
    QFile input(source);
    if (!FileManager::isRegularFile(source, nullptr) || !input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    if (!ImageStructure::handles(ImageCodec::formatOf(input.peek(16))))
        return writeResult(destFile, changedMetadata(input.readAll(), orientation));
    ResultFile output(destFile);
    QIODevice *target = output.open();
    if (!target)
        return false;
    const ImageMetadataRewriter::Result result = ImageMetadataRewriter::rewrite(&input, target, orientation);
    if (damaged)
        *damaged = result == ImageMetadataRewriter::Result::Damaged;
    return result == ImageMetadataRewriter::Result::Written && output.commit();
}

} // namespace

QByteArray ImageManager::compress(float quality, const QByteArray &sourceFileData)
{
    return ImageCodec::compressToJpeg(sourceFileData, quality);
}

bool ImageManager::metadataHeader(const QByteArray &data, ImageCodec::Header *header)
{
    if (!ImageStructure::handles(ImageCodec::formatOf(data)))
        return ImageCodec::readHeader(data, header);
    return ImageStructure::read(data, header);
}

QByteArray ImageManager::removeMetadata(const QByteArray &data)
{
    return changedMetadata(data, &orientationKept);
}

bool ImageManager::removeMetadata(const QString &source, const QString &destFile, bool *damaged)
{
    return changeFileMetadata(source, destFile, &orientationKept, damaged);
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
    // A value outside the table turns nothing: the image is shown as it is stored.
    int orientation = current >= 1 && current <= 8 ? current : 1;
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

bool ImageManager::rotateImage(const QString &source, const QString &destFile, Mirror turn, double degrees, bool *damaged)
{
    return changeFileMetadata(
        source, destFile, [=](int current) { return orientationAfter(current, turn, degrees); }, damaged);
}

bool ImageManager::writeFile(const QString &path, const QByteArray &data)
{
    ResultFile file(path);
    QIODevice *target = file.open();
    return target && target->write(data) == data.size() && file.commit();
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
            return 2 * ImageStructure::windowSize;
    }
    ImageCodec::Header header;
    return fileHeader(path, &header) ? PixelBudget::bytesFor(header.width, header.height) : 0;
}
