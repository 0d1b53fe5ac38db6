#include "actions/ocr/cloudocrrecognizer.h"

#include "actions/networkservices.h"
#include "net/networkoperations.h"

#include <QVariant>

// A failed request fails the image with no message of its own: the action's "could not
// recognise" is what the user reads, whatever went wrong on the way. OcrActions chooses this
// recognizer only once the network plug-in is loaded.
void CloudOcrRecognizer::recognize(const QString &file, const QByteArray &data, const Callback &callback)
{
    const NetworkOperations *network = NetworkServices::operations();
    network->getOcrToken([=](bool success, const QVariant &result, const QString &) {
        const QString token = result.toString();
        if (!success || token.isEmpty()) {
            callback(false, {}, QString());
            return;
        }
        network->parseHandwriting(token, file, file.isEmpty() ? data : QByteArray(),
                                  [=](bool recognised, const QVariant &lines, const QString &) {
                                      callback(recognised, lines.toStringList(), QString());
                                  });
    });
}
