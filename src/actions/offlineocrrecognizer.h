#pragma once

#include "korvaneocrrecognizer.h"

class QImage;

// Recognition on this machine with Tesseract. Every image is a job on the global thread pool;
// each pool thread loads its own engine the first time it recognises, and keeps it while the
// languages stay the same. Tesseract itself lives in a plug-in loaded on the first
// recognition, so starting Korvane never pays for it.
class OfflineOcrRecognizer final : public KorvaneOcrRecognizer
{
public:
    // Images larger than this are refused from their header: Tesseract would take minutes
    // and gigabytes on them. An 8K screen (7680 × 4320) still fits, and so it does under
    // QImageReader's own 128 MB limit.
    static constexpr qint64 maxPixels = qint64(1) << 25;
    // Tesseract's own limit on either side.
    static constexpr int maxSide = 32767;

    // languages in Tesseract's form, such as "eng+chi_sim".
    explicit OfflineOcrRecognizer(const QString &languages);

    void recognize(const QString &file, const QByteArray &data, const Callback &callback) override;

    // The "ocr/languages" user default, or "eng+chi_sim" when unset or malformed.
    static QString configuredLanguages();
    static QString defaultLanguages() { return QStringLiteral("eng+chi_sim"); }

    // Decodes an image for recognition, honouring its orientation, after its header has shown
    // a size within the limits. A null image, and why, otherwise.
    static QImage decode(const QString &file, const QByteArray &data, QString *why);

private:
    QString m_languages;
};
