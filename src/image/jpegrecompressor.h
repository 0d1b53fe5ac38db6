#pragma once

#include <QByteArray>

// Compresses a JPEG again at another quality with libjpeg-turbo alone, in a plug-in of its own
// (see JpegRecompressEntry). Decoding and encoding cost about the same, so the decoder on the
// caller's thread hands bands of rows to the encoder on a free thread of the global pool and
// each takes a core; the pixels are never held whole. Nothing of the source goes along but its
// colour profile and pixel density.
class JpegRecompressor final
{
public:
    JpegRecompressor() = delete;

    // Rows handed over at once, and the most bands decoded ahead of the encoder.
    static constexpr int bandRows = 32;
    static constexpr int bandCount = 4;

    // The JPEG at quality 1 to 100, subsampling colour below 90 as libvips does; empty for
    // data this way leaves to the general one: CMYK and YCCK images, more than
    // ImageCodec::maxPixels, and data the decoder finds anything wrong with, even what it
    // would only warn about.
    static QByteArray recompress(const QByteArray &jpeg, int quality);
};

// The plug-in's one exported function, which hands out JpegRecompressor::recompress.
using JpegRecompress = QByteArray (*)(const QByteArray &jpeg, int quality);
using JpegRecompressEntry = JpegRecompress (*)();
inline constexpr char korvaneJpegRecompressEntry[] = "korvaneJpegRecompressor";
