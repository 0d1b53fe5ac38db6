#include "actions/ocr/offlineocrrecognizer.h"

#include "common/logtext.h"
#include "common/ocrengine.h"
#include "actions/pluginloader.h"
#include "platform/settings.h"
#include "actions/actionslogging.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMutex>
#include <QRegularExpression>
#include <QThreadPool>

#include <memory>
#include <vector>

namespace {

enum class Problem {
    None,
    // The image could not be read or was refused; the action's own failure text says enough.
    Image,
    NoEngine,
    NoLanguageData,
};

// The plug-in, loaded on the main thread by the first recognition; the jobs only read it.
struct Plugin {
    CreateOcrEngine create = nullptr;
    bool tried = false;
};

Plugin &plugin()
{
    static Plugin instance;
    if (instance.tried)
        return instance;
    instance.tried = true;
    // Tesseract spreads each page over OpenMP threads. We already run one page per pool thread,
    // and both together only fight over the cores. Read by OpenMP when it loads, so set first.
    if (qEnvironmentVariableIsEmpty("OMP_THREAD_LIMIT"))
        qputenv("OMP_THREAD_LIMIT", "1");
    instance.create = reinterpret_cast<CreateOcrEngine>(
        PluginLoader::resolve(QStringLiteral("korvane-ocr-tesseract.so"), korvaneOcrEngineFactory));
    return instance;
}

// Engines made by earlier recognitions, waiting for the next one. They belong to no thread:
// an engine kept in a pool thread's thread-local storage was torn down while that thread ended,
// which Tesseract takes long enough for that the program could finish first. Never deleted, like
// the plug-in that made them; at most one engine per pool thread is ever idle here.
class EngineShelf
{
public:
    // An idle engine for these languages, or a new one; nullptr with the reason in error.
    std::unique_ptr<OcrEngine> take(CreateOcrEngine create, const QString &languages, QString *error)
    {
        {
            QMutexLocker locker(&m_mutex);
            if (m_languages != languages) {
                m_idle.clear();
                m_languages = languages;
            }
            if (!m_idle.empty()) {
                std::unique_ptr<OcrEngine> engine = std::move(m_idle.back());
                m_idle.pop_back();
                return engine;
            }
        }
        return std::unique_ptr<OcrEngine>(create(languages, error));
    }

    void give(const QString &languages, std::unique_ptr<OcrEngine> engine)
    {
        QMutexLocker locker(&m_mutex);
        if (m_languages == languages)
            m_idle.push_back(std::move(engine));
    }

private:
    QMutex m_mutex;
    QString m_languages;
    std::vector<std::unique_ptr<OcrEngine>> m_idle;
};

EngineShelf &shelf()
{
    static auto *const instance = new EngineShelf;
    return *instance;
}

QString problemText(Problem problem, const QString &languages)
{
    switch (problem) {
    case Problem::NoEngine:
        return qtTrId("OCREngineMissing");
    case Problem::NoLanguageData:
        return qtTrId("OCRLanguageDataMissing").arg(languages);
    case Problem::None:
    case Problem::Image:
        break;
    }
    return QString();
}

} // namespace

OfflineOcrRecognizer::OfflineOcrRecognizer(const QString &languages)
    : m_languages(languages)
{}

QString OfflineOcrRecognizer::configuredLanguages()
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9_]+(\\+[A-Za-z0-9_]+)*$"));
    const Korvane::Setting<QString> &setting = Korvane::Settings::ocrLanguages;
    const std::optional<QString> stored = setting.stored();
    if (!stored)
        return setting.defaultValue();
    const QString languages = stored->trimmed();
    if (form.match(languages).hasMatch())
        return languages;
    qCWarning(lcOcr, "%s \"%s\" is not in Tesseract's form; using %s", qUtf8Printable(setting.key()),
              qUtf8Printable(languages), qUtf8Printable(setting.defaultValue()));
    return setting.defaultValue();
}

void OfflineOcrRecognizer::recognize(const QString &file, const QByteArray &data, const Callback &callback)
{
    const QString languages = m_languages;
    const CreateOcrEngine create = plugin().create;
    QThreadPool::globalInstance()->start([=] {
        Problem problem = Problem::None;
        QStringList lines;
        QString why;
        if (!create) {
            problem = Problem::NoEngine;
        } else if (std::unique_ptr<OcrEngine> engine = shelf().take(create, languages, &why)) {
            lines = engine->recognize(file, data, &why);
            if (!why.isEmpty())
                problem = Problem::Image;
            shelf().give(languages, std::move(engine));
        } else {
            problem = Problem::NoLanguageData;
        }
        if (!why.isEmpty())
            qCWarning(lcOcr, "cannot recognise %s: %s",
                      file.isEmpty() ? "the image data" : qUtf8Printable(LogText::summary(file, lcOcr())),
                      qUtf8Printable(LogText::summary(why, lcOcr())));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [=] { callback(problem == Problem::None, lines, problemText(problem, languages)); },
            Qt::QueuedConnection);
    });
}
