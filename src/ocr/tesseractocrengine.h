#pragma once

#include "common/ocrengine.h"

#include <memory>

namespace tesseract {
class TessBaseAPI;
}

// Tesseract through its C++ API, with the language data Debian installs.
class TesseractOcrEngine final : public OcrEngine
{
public:
    ~TesseractOcrEngine() override;

    // Null, with the reason, when a language's data is missing or Tesseract does not start.
    static std::unique_ptr<TesseractOcrEngine> create(const QString &languages, QString *error);

    QStringList recognize(const QString &file, const QByteArray &data, QString *error) override;

private:
    TesseractOcrEngine();

    std::unique_ptr<tesseract::TessBaseAPI> m_api;
};
