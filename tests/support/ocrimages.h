#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Images of known text for the recognition tests and benchmarks, rendered by Qt with Debian's
// fonts: DejaVu Sans for Latin text, WenQuanYi Micro Hei for Chinese.
namespace KorvaneTest {

QString latinFamily();
QString chineseFamily();
bool hasFamily(const QString &family);

// The lines, black on white (or white on a dark background), one below the other.
QImage render(const QStringList &lines, const QString &family, int pixelSize, bool dark = false);

QByteArray png(const QImage &image);

// A valid one-bit grey PNG of any size, all black, written without ever holding its pixels:
// a few hundred kilobytes for 20,000 × 20,000.
QByteArray hugePng(quint32 width, quint32 height);

} // namespace KorvaneTest
