#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One loaded recognition engine, used by one thread at a time. The Tesseract plug-in
// implements it, so that nothing outside the plug-in sees Tesseract's headers or loads its
// libraries before text is first recognised.
class OcrEngine
{
public:
    virtual ~OcrEngine() = default;

    // The lines of text in reading order, without empty ones, of the image in file, or in data
    // when file is empty. An error text when the image was refused or could not be read, or
    // the engine could not look at it at all.
    virtual QStringList recognize(const QString &file, const QByteArray &data, QString *error) = 0;
};

// The plug-in's one exported function: an engine for the languages in Tesseract's form
// ("eng+chi_sim"), or null with a text saying why (missing language data, for instance).
extern "C" {
using CreateOcrEngine = OcrEngine *(*)(const QString &languages, QString *error);
}
inline constexpr char korvaneOcrEngineFactory[] = "korvaneCreateOcrEngine";
