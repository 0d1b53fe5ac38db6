#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Recognises the text of one image. The callback comes exactly once, on the main thread and
// never from inside recognize(): success with the lines in reading order (none when the image
// holds no text), or failure with, where there is more to say than "could not recognise", a
// message the user can act on (missing language data, an unreachable service).
class OcrRecognizer
{
public:
    using Callback = std::function<void(bool success, const QStringList &lines, const QString &message)>;

    virtual ~OcrRecognizer() = default;

    // Exactly one of file (a local path) and data (the image's bytes) is given.
    virtual void recognize(const QString &file, const QByteArray &data, const Callback &callback) = 0;
};
