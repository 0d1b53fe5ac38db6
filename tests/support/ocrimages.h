#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Images of known text for the recognition tests and benchmarks, rendered by Qt with Debian's
// fonts: DejaVu Sans for Latin text, WenQuanYi Micro Hei for Chinese; and PNG files built by
// hand, of any size.
namespace KorvaneTest {

QString latinFamily();
QString chineseFamily();
bool hasFamily(const QString &family);

// The lines, black on white (or white on a dark background), one below the other.
QImage render(const QStringList &lines, const QString &family, int pixelSize, bool dark = false);

// Encoded by Qt; with a profile, in Display P3.
QByteArray encoded(QImage image, const char *format, bool withProfile = false, int quality = 90);

QByteArray pngChunk(const QByteArray &type, const QByteArray &body);

// A PNG whose header claims the size, of grey RGB pixels or of black one-bit ones: its one pixel
// row of data is all there is, or, when complete, every row, written without ever holding the
// pixels and packed to a few hundred kilobytes however large it decodes.
QByteArray pngClaiming(quint32 width, quint32 height, bool complete = false, bool oneBit = false);

} // namespace KorvaneTest
