#pragma once

#include "standinserver.h"

// A LibreTranslate server: POST /translate with q, source, target, format and api_key as a
// JSON object; {"translatedText": ...} or an error status with {"error": ...}.
class LibreTranslateStandIn final : public StandInServer
{
public:
    using StandInServer::StandInServer;

    QString requiredApiKey; // empty: no key needed
    QStringList languages{QStringLiteral("en"), QStringLiteral("zh"), QStringLiteral("ja"), QStringLiteral("ko"),
                          QStringLiteral("de"), QStringLiteral("fr")};
    QHash<QString, QHash<QString, QString>> dictionary;

private:
    StandInResponse handle(const StandInRequest &request) override;
};
