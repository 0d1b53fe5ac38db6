#include "hostileanswers.h"

namespace HostileAnswers {

StandInResponse named(const QString &name, int intervalMs)
{
    const auto scripted = [intervalMs](const QByteArray &script, const QByteArray &repeat) {
        StandInResponse response;
        response.behaviour = StandInResponse::Behaviour::Script;
        response.script = script;
        response.repeat = repeat;
        response.intervalMs = intervalMs;
        return response;
    };
    const QByteArray chunked = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n";
    const QByteArray block(256 * 1024, 'x');
    if (name == QLatin1String("endlesschunks"))
        return scripted(chunked, "40000\r\n" + block + "\r\n");
    if (name == QLatin1String("negativechunks"))
        return scripted(chunked, "-10\r\n" + block + "\r\n");
    if (name == QLatin1String("hugechunk"))
        return scripted(chunked + "7fffffffffffffff\r\n", QByteArray());
    if (name == QLatin1String("bigchunk"))
        return scripted(chunked + "200000\r\n" + block.repeated(8), QByteArray());
    if (name == QLatin1String("drip"))
        return scripted("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n", "x");
    if (name == QLatin1String("continueflood"))
        return scripted(QByteArray(), "HTTP/1.1 100 Continue\r\n\r\n");
    if (name == QLatin1String("endlesshead"))
        return scripted("HTTP/1.1 200 OK\r\n", "X-Filler: " + block.left(1000) + "\r\n");
    return StandInResponse::text("text/plain", "no such play", 404);
}

} // namespace HostileAnswers
