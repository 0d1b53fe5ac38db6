#pragma once

#include "actions/ocr/ocrrecognizer.h"

// Recognition on this machine with Tesseract. Every image is a job on the global thread pool;
// engines are loaded as jobs need them and kept for the next jobs while the languages stay
// the same. Tesseract itself lives in a plug-in loaded on the first
// recognition, so starting Korvane never pays for it.
class OfflineOcrRecognizer final : public OcrRecognizer
{
public:
    // languages in Tesseract's form, such as "eng+chi_sim".
    explicit OfflineOcrRecognizer(const QString &languages);

    void recognize(const QString &file, const QByteArray &data, const Callback &callback) override;

    // Korvane::Settings::ocrLanguages, or its default when unset or malformed.
    static QString configuredLanguages();

private:
    QString m_languages;
};
