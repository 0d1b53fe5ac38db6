#pragma once

#include "standinserver.h"

// The product's API: translation, the OCR token and the application version, each answering
// {"code": 200, "data": {...}} or another code with a message.
class ServiceStandIn final : public StandInServer
{
public:
    using StandInServer::StandInServer;

    QString version = QStringLiteral("9.9.9");
    QString token = QStringLiteral("ocr-token-7f3a");
    // Translations the service knows, by target language and source text; an unknown text is
    // answered with "[LANG] TEXT".
    QHash<QString, QHash<QString, QString>> dictionary;

private:
    StandInResponse handle(const StandInRequest &request) override;
};
