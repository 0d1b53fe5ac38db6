#include "ocr/tesseractocrengine.h"

#include "ocr/ocrimagedecoder.h"

#include <QImage>
#include <QLoggingCategory>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

Q_LOGGING_CATEGORY(lcTesseract, "korvane.ocr.tesseract", QtWarningMsg)

// Tesseract puts a space between the characters of Chinese and Japanese text, as it does
// between words; readers of those scripts want none.
bool isWideScript(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x9fff) || (u >= 0xf900 && u <= 0xfaff) || (u >= 0xff00 && u <= 0xffef);
}

QString withoutSpacesBetweenWideScript(const QString &line)
{
    QString result;
    result.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char(' ') && !result.isEmpty() && isWideScript(result.back())) {
            qsizetype next = i;
            while (next < line.size() && line.at(next) == QLatin1Char(' '))
                ++next;
            if (next < line.size() && isWideScript(line.at(next))) {
                i = next - 1;
                continue;
            }
        }
        result.append(c);
    }
    return result;
}

} // namespace

TesseractOcrEngine::TesseractOcrEngine()
    : m_api(std::make_unique<tesseract::TessBaseAPI>())
{}

TesseractOcrEngine::~TesseractOcrEngine()
{
    m_api->End();
}

std::unique_ptr<TesseractOcrEngine> TesseractOcrEngine::create(const QString &languages, QString *error)
{
    std::unique_ptr<TesseractOcrEngine> engine(new TesseractOcrEngine);
    // Tesseract's own diagnostics, down to the "WARNING! LEAK!" lines of its caches at exit,
    // are no business of the user's terminal; the failures that matter come back as errors.
    // The setting is global to the library and outlives every engine.
    engine->m_api->SetVariable("debug_file", "/dev/null");
    // The LSTM engine alone: it is what the language data of Debian is made for, and the
    // legacy one would need data that is not there.
    if (engine->m_api->Init(nullptr, languages.toUtf8().constData(), tesseract::OEM_LSTM_ONLY) != 0) {
        *error = QStringLiteral("Tesseract found no language data for \"%1\"").arg(languages);
        return nullptr;
    }
    // Tesseract carries on without a language whose data is missing; we would rather say so
    // than give text in the wrong script.
    std::vector<std::string> loaded;
    engine->m_api->GetLoadedLanguagesAsVector(&loaded);
    QStringList missing;
    for (const QString &wanted : languages.split(QLatin1Char('+'))) {
        if (std::find(loaded.begin(), loaded.end(), wanted.toStdString()) == loaded.end())
            missing.append(wanted);
    }
    if (!missing.isEmpty()) {
        *error = QStringLiteral("Tesseract found no language data for \"%1\"").arg(missing.join(QLatin1Char('+')));
        return nullptr;
    }
    engine->m_api->SetPageSegMode(tesseract::PSM_AUTO);
    return engine;
}

QStringList TesseractOcrEngine::recognize(const QString &file, const QByteArray &data, QString *error)
{
    const QImage image = OcrImageDecoder::decode(file, data, error);
    if (image.isNull()) {
        if (error->isEmpty())
            *error = QStringLiteral("the image could not be read");
        return {};
    }
    // Small images hold small text, which Tesseract reads best at about twice screen size;
    // screenshots are left as they are, where the time would double for little gain.
    const bool small = qint64(image.width()) * image.height() < 1000000;
    const QImage gray = (small ? image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation) : image)
                            .convertToFormat(QImage::Format_Grayscale8);
    if (gray.isNull() || gray.width() < 1 || gray.height() < 1) {
        *error = QStringLiteral("empty image");
        return {};
    }
    m_api->SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    // Screen pixels; without a resolution Tesseract guesses one and says so on stderr.
    m_api->SetSourceResolution(96);
    if (m_api->Recognize(nullptr) != 0) {
        m_api->Clear();
        *error = QStringLiteral("Tesseract could not recognise the image");
        return {};
    }
    QStringList lines;
    std::unique_ptr<tesseract::ResultIterator> it(m_api->GetIterator());
    if (it) {
        do {
            std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
            if (!text)
                continue;
            const QString line = withoutSpacesBetweenWideScript(QString::fromUtf8(text.get()).simplified());
            if (!line.isEmpty())
                lines.append(line);
        } while (it->Next(tesseract::RIL_TEXTLINE));
    }
    m_api->Clear();
    qCDebug(lcTesseract, "%lld lines", qlonglong(lines.size()));
    return lines;
}

extern "C" Q_DECL_EXPORT OcrEngine *korvaneCreateOcrEngine(const QString &languages, QString *error)
{
    return TesseractOcrEngine::create(languages, error).release();
}
