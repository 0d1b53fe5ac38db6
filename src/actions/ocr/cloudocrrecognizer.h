#pragma once

#include "actions/ocr/ocrrecognizer.h"

// Recognition through the service: a fresh OCR token from Korvane's service for every image,
// then the handwriting recognition of the image-recognition host with it. Both answers come
// back on the main thread through the HTTP client.
class CloudOcrRecognizer final : public OcrRecognizer
{
public:
    void recognize(const QString &file, const QByteArray &data, const Callback &callback) override;
};
