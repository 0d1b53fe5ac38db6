#pragma once

#include "actions/actionreply.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

class DropListEntity;
class DropPayload;
class OcrRecognizer;

// Recognises the text of dropped images and copies it. Image data is recognised once; image
// files each on their own, all at once, and their text is joined in the order the answers came
// back. The run succeeds when any image gave text and fails with CanNotOCR otherwise.
class OcrActions final
{
public:
    OcrActions() = delete;

    enum Code {
        CanNotOCR = 7003,
    };

    static void recognizeText(const std::shared_ptr<DropListEntity> &drop, const DropPayload &payload, const ActionReply &reply);

    // The lines joined by "\n"; null for none.
    static QString getTextFromArray(const QStringList &lines);
    // Every line of every entry, in key order, followed by "\n\n"; null for none.
    static QString getTextFromDic(const QMap<qint64, QStringList> &results);

    // The service's recognition when "hosts/service" is set, else Tesseract on this machine.
    static std::shared_ptr<OcrRecognizer> recognizer();
};
