// Offline text recognition: character error rate on rendered English and Chinese text, and a
// batch of ten screenshots recognised in-process against the tesseract command once per file.
//   ocrbench KORVANE_BINARY [ROUNDS]
#include "support/ocrimages.h"

#include "actions/ocr/ocractions.h"
#include "actions/ocr/ocrrecognizer.h"
#include "platform/settings.h"
#include "actions/ocr/offlineocrrecognizer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace KorvaneTest;

namespace {

// Edit distance in characters (UTF-16 code units suffice for the scripts used here).
int editDistance(const QString &a, const QString &b)
{
    std::vector<int> previous(size_t(b.size()) + 1);
    std::vector<int> current(previous.size());
    for (size_t j = 0; j < previous.size(); ++j)
        previous[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int substitution = previous[size_t(j - 1)] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1);
            current[size_t(j)] = std::min({previous[size_t(j)] + 1, current[size_t(j - 1)] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous.back();
}

// Character error rate of a recognised text against the truth, lines joined by "\n".
double characterErrorRate(const QString &truth, const QString &recognised)
{
    return truth.isEmpty() ? 0 : double(editDistance(truth, recognised)) / double(truth.size());
}

const QStringList englishText{
    QStringLiteral("Korvane lives in the system tray and waits for files, images or text."),
    QStringLiteral("Drop a screenshot on it and choose Recognise Text to copy its words."),
    QStringLiteral("The quick brown fox jumps over the lazy dog at 10:45 on 3 May 2024."),
    QStringLiteral("Settings are kept in the user defaults; hosts point to local services."),
    QStringLiteral("Every action reports once, with a notification and a short sound."),
    QStringLiteral("Batches of images run on the shared thread pool, one job per file."),
    QStringLiteral("Errors carry a code, a domain and a message the user can read."),
    QStringLiteral("Version 2.1 fixes 14 bugs, including a crash when the disk was full."),
};

const QStringList chineseText{
    QStringLiteral("今天天气很好，我们一起去公园散步。"),
    QStringLiteral("这个程序可以识别图片中的文字并复制。"),
    QStringLiteral("请把文件拖到状态栏的图标上，然后选择操作。"),
    QStringLiteral("北京和上海是中国最大的两个城市。"),
    QStringLiteral("学习中文需要时间，也需要耐心和兴趣。"),
    QStringLiteral("图片压缩以后，文件的体积会小很多。"),
    QStringLiteral("我们明天下午三点在会议室开会。"),
    QStringLiteral("这本书讲的是一个关于友谊的故事。"),
};

QStringList recognise(OcrRecognizer &recognizer, const QString &file)
{
    QStringList lines;
    QEventLoop loop;
    recognizer.recognize(file, QByteArray(), [&](bool, const QStringList &result, const QString &) {
        lines = result;
        loop.quit();
    });
    loop.exec();
    return lines;
}

// All files at once, as the action's file mode does; the time until the last answer.
std::vector<QStringList> recogniseBatch(OcrRecognizer &recognizer, const QStringList &files, double *ms)
{
    std::vector<QStringList> results(size_t(files.size()));
    int answered = 0;
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    for (qsizetype i = 0; i < files.size(); ++i) {
        recognizer.recognize(files.at(i), QByteArray(), [&, i](bool, const QStringList &lines, const QString &) {
            results[size_t(i)] = lines;
            if (++answered == files.size())
                loop.quit();
        });
    }
    loop.exec();
    *ms = double(timer.nsecsElapsed()) / 1e6;
    return results;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Text compared as lines without blank ones, inner spaces collapsed, and no space between
// Chinese characters (the command keeps Tesseract's, the action removes them).
QString normalised(const QString &text)
{
    static const QRegularExpression wideSpace(QStringLiteral("(?<=[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]) +(?=[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}])"));
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        QString simple = line.simplified();
        simple.replace(wideSpace, QString());
        if (!simple.isEmpty())
            lines.append(simple);
    }
    return lines.join(QLatin1Char('\n'));
}

// A screen of an application: a dark title bar, a sidebar and paragraphs in two sizes, with
// English and Chinese text.
QImage screenshot(int index)
{
    QImage image(1280, 800, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QPainter painter(&image);
    painter.fillRect(0, 0, 1280, 40, QColor(45, 45, 52));
    painter.fillRect(0, 40, 260, 760, QColor(232, 234, 238));
    QFont title(latinFamily());
    title.setPixelSize(16);
    painter.setFont(title);
    painter.setPen(QColor(240, 240, 240));
    painter.drawText(16, 26, QStringLiteral("Korvane Notes — document %1").arg(index + 1));
    painter.setPen(QColor(30, 30, 30));
    QFont side(latinFamily());
    side.setPixelSize(15);
    painter.setFont(side);
    for (int i = 0; i < 8; ++i)
        painter.drawText(20, 80 + i * 34, englishText.at((index + i) % englishText.size()).section(QLatin1Char(' '), 0, 2));
    QFont body(latinFamily());
    body.setPixelSize(index % 2 ? 17 : 15);
    painter.setFont(body);
    int y = 90;
    for (int i = 0; i < 6; ++i, y += 30)
        painter.drawText(290, y, englishText.at((index + i) % englishText.size()));
    QFont zh(chineseFamily());
    zh.setPixelSize(18);
    painter.setFont(zh);
    y += 20;
    for (int i = 0; i < 6; ++i, y += 34)
        painter.drawText(290, y, chineseText.at((index + i) % chineseText.size()));
    return image;
}

QByteArray runProcess(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    return process.readAllStandardOutput();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: ocrbench KORVANE_BINARY [ROUNDS]\n");
        return 2;
    }
    const QString korvane = arguments.at(1);
    const int rounds = arguments.size() > 2 ? arguments.at(2).toInt() : 5;
    QTemporaryDir dir;
    OfflineOcrRecognizer recognizer(Korvane::Settings::ocrLanguages.defaultValue());

    // Character error rate: each sample is a block of lines at a screen size.
    struct Script {
        const char *name;
        QStringList text;
        QString family;
        double target;
    };
    const Script scripts[] = {{"English", englishText, latinFamily(), 2.0}, {"Chinese", chineseText, chineseFamily(), 5.0}};
    for (const Script &script : scripts) {
        std::vector<double> rates;
        qint64 errors = 0;
        qint64 characters = 0;
        int sample = 0;
        for (const int size : {14, 16, 20, 24}) {
            for (int start = 0; start < script.text.size(); start += 4, ++sample) {
                const QStringList lines = script.text.mid(start, 4);
                const QString file = dir.filePath(QStringLiteral("%1-%2.png").arg(QLatin1String(script.name)).arg(sample));
                render(lines, script.family, size).save(file);
                const QString truth = lines.join(QLatin1Char('\n'));
                const QString got = recognise(recognizer, file).join(QLatin1Char('\n'));
                rates.push_back(100 * characterErrorRate(truth, got));
                errors += editDistance(truth, got);
                characters += truth.size();
            }
        }
        std::printf("CER %-8s median %.2f %%  overall %.2f %%  (%d images, 14-24 px; target <= %.0f %%)\n", script.name,
                    median(rates), 100.0 * double(errors) / double(characters), sample, script.target);
    }

    // The batch: korvane run as a whole process, the recogniser in this process (engines
    // already loaded after the first round), and the command once per file, one after another
    // and two at a time.
    QStringList files;
    for (int i = 0; i < 10; ++i) {
        files.append(dir.filePath(QStringLiteral("screen%1.png").arg(i)));
        screenshot(i).save(files.last());
    }
    QProcess::execute(korvane, {QStringLiteral("add"), QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("--title"), QStringLiteral("Bench OCR")});
    std::vector<double> inProcess, korvaneRun, serial, parallel;
    std::vector<QStringList> ours;
    double cold = 0;
    for (int round = 0; round < rounds; ++round) {
        double ms = 0;
        ours = recogniseBatch(recognizer, files, &ms);
        if (round == 0)
            cold = ms;
        else
            inProcess.push_back(ms);

        QElapsedTimer timer;
        timer.start();
        runProcess(korvane, QStringList{QStringLiteral("run"), QStringLiteral("Bench OCR")} + files);
        korvaneRun.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        for (const QString &file : files)
            runProcess(QStringLiteral("tesseract"), {file, QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng+chi_sim")});
        serial.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.restart();
        QStringList xargs{QStringLiteral("-P2"), QStringLiteral("-I{}"), QStringLiteral("tesseract"), QStringLiteral("{}"),
                          QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng+chi_sim")};
        QProcess process;
        process.start(QStringLiteral("xargs"), xargs);
        process.write(files.join(QLatin1Char('\n')).toUtf8() + '\n');
        process.closeWriteChannel();
        process.waitForFinished(-1);
        parallel.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    // Same text: our lines against the command's output, per file.
    qint64 differing = 0;
    qint64 characters = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString theirs = normalised(QString::fromUtf8(
            runProcess(QStringLiteral("tesseract"), {files.at(i), QStringLiteral("stdout"), QStringLiteral("-l"), QStringLiteral("eng+chi_sim")})));
        const QString mine = normalised(ours[size_t(i)].join(QLatin1Char('\n')));
        differing += editDistance(theirs, mine);
        characters += theirs.size();
    }

    const double serialMs = median(serial);
    const double parallelMs = median(parallel);
    std::printf("batch of 10 screenshots (1280x800, English and Chinese), medians of %d rounds:\n", rounds);
    std::printf("  in-process, engines loaded     %8.0f ms  (%.2fx serial tesseract, %.2fx two at a time)\n",
                median(inProcess), median(inProcess) / serialMs, median(inProcess) / parallelMs);
    std::printf("  in-process, first batch (cold) %8.0f ms\n", cold);
    std::printf("  korvane run, whole process     %8.0f ms  (%.2fx serial tesseract, %.2fx two at a time)\n",
                median(korvaneRun), median(korvaneRun) / serialMs, median(korvaneRun) / parallelMs);
    std::printf("  tesseract once per file        %8.0f ms\n", serialMs);
    std::printf("  tesseract, xargs -P2           %8.0f ms\n", parallelMs);
    std::printf("  text differing from the command: %lld of %lld characters (%.2f %%)\n", differing, characters,
                characters ? 100.0 * double(differing) / double(characters) : 0.0);
    return 0;
}
