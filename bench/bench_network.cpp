// From a stand-in's answer to the completion: how long the client and the service API take
// once the last byte of an answer has left the server, measured in one process. Each figure
// is the median over many requests; "parse" is the share spent turning the body into maps.
// Like the tests, this spells its data as plain literals.
#undef QT_NO_CAST_FROM_ASCII
#undef QT_NO_CAST_TO_ASCII

#include "benchutil.h"
#include "store/droplistentity.h"
#include "platform/headless/headlessclipboard.h"
#include "platform/headless/headlessnotifier.h"
#include "net/answerlimits.h"
#include "net/apiclient.h"
#include "store/actionstore.h"
#include "intake/droppayload.h"
#include "actions/actionrunner.h"
#include "platform/settings.h"
#include "actions/text/translations.h"
#include "net/networkclient.h"
#include "platform/platform.h"
#include "platform/settingsbackend.h"
#include "servers/cosstandin.h"
#include "servers/libretranslatestandin.h"
#include "servers/servicestandin.h"
#include "servers/weibostandin.h"
#include "store/translatesettings.h"
#include "net/xmlreader.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double median = 0;
    double p90 = 0;
};

// Runs the request `runs` times; each time the completion records its own moment, compared
// with the moment the server finished writing the answer.
Figures answerToCompletion(StandInServer &server, int runs, const std::function<void(std::function<void()> done)> &request)
{
    std::vector<double> micros;
    for (int i = 0; i < runs; ++i) {
        QEventLoop loop;
        Clock::time_point completed;
        request([&] {
            completed = Clock::now();
            loop.quit();
        });
        loop.exec();
        micros.push_back(std::chrono::duration<double, std::micro>(completed - server.lastAnswerSent()).count());
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[micros.size() * 9 / 10]};
}

void print(const char *name, const Figures &figures, double parseMicros)
{
    std::printf("%-34s median %7.1f us   p90 %7.1f us   parse %6.1f us\n", name, figures.median, figures.p90, parseMicros);
}

double parseMicros(const std::function<void()> &parse)
{
    return medianMilliseconds(501, parse) * 1000.0;
}

// The slowest documents a server may still send: each sits just under one of the readers'
// limits, and the whole body under the API answer cap. Every answer under its cap has to read
// in well under 100 ms, or a hostile server could hold up a batch for as long as it likes.
void worstDocumentsUnderTheirCaps()
{
    // Opening, as many whole units as fit under the cap, closing.
    const auto underCap = [](const QByteArray &opening, const QByteArray &unit, const QByteArray &closing) {
        const qint64 units = (AnswerLimits::apiAnswer - opening.size() - closing.size()) / unit.size();
        return opening + unit.repeated(units) + closing;
    };
    const auto nodesUnderCap = [](const QByteArray &opening, const QByteArray &unit, int unitNodes, const QByteArray &closing) {
        const qint64 byBytes = (AnswerLimits::apiAnswer - opening.size() - closing.size()) / unit.size();
        return opening + unit.repeated(std::min<qint64>(byBytes, AnswerLimits::documentNodes / unitNodes - 1)) + closing;
    };
    const QByteArray manyElements = nodesUnderCap("<ListAllMyBucketsResult>",
                                                  "<Bucket><Name>bucket-1250000000</Name><Location>sh</Location></Bucket>", 3,
                                                  "</ListAllMyBucketsResult>");
    QByteArray attributes = "<e";
    for (int a = 0; a < AnswerLimits::xmlAttributes - 1; ++a)
        attributes += " a" + QByteArray::number(a) + "=\"1\"";
    const QByteArray manyAttributes = nodesUnderCap("<r>", attributes + "/>", AnswerLimits::xmlAttributes, "</r>");
    const int depth = AnswerLimits::documentDepth - 1;
    const QByteArray deepXml = QByteArray("<a>").repeated(depth) + "x" + QByteArray("</a>").repeated(depth);
    const QByteArray longText = underCap("<a>", "x", "</a>");
    const QByteArray escapedText = underCap("<a>", "&amp;&lt;", "</a>");

    const QByteArray manyValues = nodesUnderCap("[", "{\"k\":12345},", 2, "0]");
    const QByteArray deepJson = QByteArray("[").repeated(depth) + QByteArray("]").repeated(depth);
    const QByteArray longString = underCap("{\"t\":\"", "\\u4e2d", "\"}");

    std::printf("Worst documents under the readers' limits (%lld-byte API cap), median of 21 reads\n",
                static_cast<long long>(AnswerLimits::apiAnswer));
    // The processor time of the reading thread as well as the wall time: on a busy machine the
    // first says what the reader costs, the second what a user waits.
    const auto row = [](const char *name, const QByteArray &doc, const std::function<bool()> &read) {
        const bool accepted = read();
        std::vector<double> cpu;
        const double wall = medianMilliseconds(21, [&] {
            timespec start{}, end{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
            read();
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
            cpu.push_back((end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6);
        });
        std::sort(cpu.begin(), cpu.end());
        std::printf("  %-42s %8d bytes  wall %6.1f ms  cpu %6.1f ms  %s\n", name, int(doc.size()), wall, cpu[cpu.size() / 2],
                    accepted ? "read" : "refused");
    };
    const auto xmlRow = [&](const char *name, const QByteArray &doc) {
        row(name, doc, [&] { return XmlReader::dictionaryForXMLData(doc, XmlReader::ProcessNamespaces).isValid(); });
    };
    const auto jsonRow = [&](const char *name, const QByteArray &doc) {
        row(name, doc, [&] { return NetworkClient::jsonObject(doc).isValid(); });
    };
    xmlRow("XML: elements up to the node limit", manyElements);
    xmlRow("XML: attributes up to the node limit", manyAttributes);
    xmlRow("XML: nesting one under the depth limit", deepXml);
    xmlRow("XML: one text up to the cap", longText);
    xmlRow("XML: entities up to the cap", escapedText);
    jsonRow("JSON: values up to the node limit", manyValues);
    jsonRow("JSON: nesting one under the depth limit", deepJson);
    jsonRow("JSON: one escaped string up to the cap", longString);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Translations::install({QStringLiteral("en-US")});
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    Platform::setClipboard(std::make_unique<HeadlessClipboard>());
    Platform::setNotifier(std::make_unique<HeadlessNotifier>());
    SettingsBackend *defaults = Platform::settingsBackend();

    ServiceStandIn service;
    LibreTranslateStandIn libre;
    CosStandIn cos;
    WeiboStandIn weibo;
    if (!service.start() || !libre.start() || !cos.start() || !weibo.start()) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }
    cos.secretKeys.insert("AKIDbench", "bench-secret");
    for (int i = 0; i < 20; ++i)
        cos.buckets.append({QStringLiteral("bucket%1-1250000000").arg(i), QStringLiteral("ap-shanghai")});
    weibo.accounts.insert("bench@example.com", "pw");
    defaults->setValue(Korvane::Settings::serviceHost.key(), service.baseUrl());
    defaults->setValue(Korvane::Settings::cosServiceHost.key(), cos.baseUrl());
    defaults->setValue(Korvane::Settings::cosDomainHost.key(), cos.baseUrl());
    defaults->setValue(Korvane::Settings::sinaLoginHost.key(), weibo.baseUrl());
    defaults->setValue(Korvane::Settings::weiboUploadHost.key(), weibo.baseUrl());
    defaults->setValue(Korvane::Settings::weiboHomeHost.key(), weibo.baseUrl());

    const int runs = 301;
    std::printf("From the stand-in's last answer byte to the completion, %d requests each (loopback, one process)\n", runs);

    const QByteArray translateBody = R"({"code":200,"message":"success","data":{"targetText":"Hello, world"}})";
    print("service translate (form POST)", answerToCompletion(service, runs, [](auto done) {
              ApiClient::translate("你好，世界", "en", [done](bool, const QVariant &, const QString &) { done(); });
          }),
          parseMicros([&] { NetworkClient::jsonObject(translateBody); }));

    const QByteArray xml = cos.listXml().toUtf8();
    print("COS bucket list, 20 buckets (XML)", answerToCompletion(cos, runs, [](auto done) {
              ApiClient::getQCloudBucketDetail("bench-secret", "AKIDbench", "bucket19",
                                               [done](bool, const QVariant &, const QString &) { done(); });
          }),
          parseMicros([&] { XmlReader::dictionaryForXMLData(xml, XmlReader::ProcessNamespaces); }));

    bool loggedIn = false;
    ApiClient::weiboLogin("bench@example.com", "pw", [&](bool ok, const QString &) { loggedIn = ok; });
    while (!loggedIn)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const QByteArray png = QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR4nGNgYGD4DwABBAEAwS2OUAAAAABJRU5ErkJggg==");
    const QByteArray page = "<meta/><script type=\"text/javascript\">document.domain=\"sina.com.cn\";</script>"
                            R"({"code":"A00006","data":{"count":1,"pics":{"pic_1":{"pid":"006ogzO5ly1gk1h9a6x8sj30u00u0q4f","width":640}}}})";
    print("Weibo upload (multipart, </script>)", answerToCompletion(weibo, runs, [&](auto done) {
              ApiClient::weiboUploadImg(png.toBase64(), {[done](const UploadCallbacks::Outcome &) { done(); }, nullptr});
          }),
          parseMicros([&] { NetworkClient::jsonAfterScript(page); }));

    defaults->setValue(Korvane::Settings::libreTranslateUrl.key(), libre.baseUrl());
    print("LibreTranslate (JSON POST)", answerToCompletion(libre, runs, [](auto done) {
              ApiClient::libreTranslate("Good morning", "jp", [done](bool, const QVariant &, const QString &) { done(); });
          }),
          parseMicros([] { NetworkClient::jsonObject(R"({"translatedText":"<ja> Good morning","detectedLanguage":{"confidence":90,"language":"en"}})"); }));

    // The whole translate action: answer, clipboard, notification, completion.
    defaults->remove(Korvane::Settings::libreTranslateUrl.key());
    ActionStore store;
    const auto drop = store.getNewDrop(0, 0, 0);
    drop->translateSettings()->setType(1);
    const DropPayload payload = DropPayload::fromText(QStringLiteral("你好，世界"));
    print("translate action (service)", answerToCompletion(service, runs, [&](auto done) {
              ActionRunner::run(drop, payload, [done](bool, const Korvane::Error &) { done(); });
          }),
          0);

    worstDocumentsUnderTheirCaps();
    std::printf("loopback floor: a Qt socket read of the same answers is part of each figure\n");
    return 0;
}
