#include "offlineocrrecognizer.h"

#include "korvanelogtext.h"
#include "korvaneocrengine.h"
#include "korvanepluginloader.h"
#include "korvaneplatform.h"
#include "korvaneuserdefaults.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QThreadPool>

#include <memory>

namespace {

Q_LOGGING_CATEGORY(lcOcr, "korvane.actions.ocr", QtWarningMsg)

enum class Problem {
    None,
    // The image could not be read or was refused; the action's own failure text says enough.
    Image,
    NoEngine,
    NoLanguageData,
};

// The plug-in, loaded on the main thread by the first recognition; the jobs only read it.
struct Plugin {
    KorvaneCreateOcrEngine create = nullptr;
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
    instance.create = reinterpret_cast<KorvaneCreateOcrEngine>(
        KorvanePluginLoader::resolve(QStringLiteral("korvane-ocr-tesseract.so"), korvaneOcrEngineFactory));
    return instance;
}

// This thread's engine, made on its first recognition and again when the languages change.
KorvaneOcrEngine *threadEngine(KorvaneCreateOcrEngine create, const QString &languages, QString *error)
{
    struct ThreadEngine {
        QString languages;
        std::unique_ptr<KorvaneOcrEngine> engine;
    };
    thread_local ThreadEngine current;
    if (current.engine && current.languages == languages)
        return current.engine.get();
    current.engine.reset(create(languages, error));
    current.languages = languages;
    return current.engine.get();
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

OfflineOcrRecognizer::OfflineOcrRecognizer(const QString &languages) : m_languages(languages) {}

QString OfflineOcrRecognizer::configuredLanguages()
{
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9_]+(\\+[A-Za-z0-9_]+)*$"));
    const QVariant stored = KorvanePlatform::userDefaults()->value(QStringLiteral("ocr/languages"));
    if (!stored.isValid())
        return defaultLanguages();
    const QString languages = stored.toString().trimmed();
    if (form.match(languages).hasMatch())
        return languages;
    qCWarning(lcOcr, "ocr/languages \"%s\" is not in Tesseract's form; using %s", qUtf8Printable(languages),
              qUtf8Printable(defaultLanguages()));
    return defaultLanguages();
}

void OfflineOcrRecognizer::recognize(const QString &file, const QByteArray &data, const Callback &callback)
{
    const QString languages = m_languages;
    const KorvaneCreateOcrEngine create = plugin().create;
    QThreadPool::globalInstance()->start([=] {
        Problem problem = Problem::None;
        QStringList lines;
        QString why;
        if (!create) {
            problem = Problem::NoEngine;
        } else if (KorvaneOcrEngine *engine = threadEngine(create, languages, &why)) {
            lines = engine->recognize(file, data, &why);
            if (!why.isEmpty())
                problem = Problem::Image;
        } else {
            problem = Problem::NoLanguageData;
        }
        if (!why.isEmpty())
            qCWarning(lcOcr, "cannot recognise %s: %s",
                      file.isEmpty() ? "the image data" : qUtf8Printable(KorvaneLogText::summary(file, lcOcr())),
                      qUtf8Printable(KorvaneLogText::summary(why, lcOcr())));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [=] { callback(problem == Problem::None, lines, problemText(problem, languages)); },
            Qt::QueuedConnection);
    });
}
