#pragma once

#include "image/imagecodec.h"

// What the image plug-in hands to ImageCodec: its operations, each with ImageCodec's own
// signature. Both sides are built from the same headers, so the table is their whole contract.
struct ImageCodecOperations {
    bool (*readHeader)(const QByteArray &data, ImageCodec::Header *header);
    QByteArray (*compressToJpeg)(const QByteArray &data, float quality);
    QByteArray (*thumbnail)(const QByteArray &data, const QString &file, int longSide);
    QByteArray (*encode)(const QByteArray &data, ImageCodec::Format target);
    QByteArray (*rewriteMetadata)(const QByteArray &data, int orientation);
};

// The plug-in's one exported function, returning its table.
using ImageCodecEntry = const ImageCodecOperations *(*)();
inline constexpr char korvaneImageCodecEntry[] = "korvaneImageCodecOperations";
