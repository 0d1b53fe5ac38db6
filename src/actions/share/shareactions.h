#pragma once

#include "actions/actionreply.h"

#include <QStringList>

#include <memory>

class DropListEntity;
class DropPayload;

// The actions that hand the dropped data to a sharing service: mail and message (for text
// and for files), nearby sharing of files and adding to the photo folder.
class ShareActions final
{
public:
    using DropPtr = std::shared_ptr<DropListEntity>;

    // Time between a nearby share being handed over and its reply.
    static constexpr int airDropCompletionDelayMs = 300;

    static void sendEmail(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);
    static void sendMessage(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);
    static void shareFiles(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);
    static void addToPhotos(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply);

    // The recipients stored as one string: split at every ",", pieces kept as they are
    // (untrimmed, empty ones too); nothing stored gives no list.
    static QStringList recipientList(const QString &recipients);
};
