#pragma once

#include "actions/actionreply.h"
#include "platform/notification.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <memory>

class ActionJob;
class DropListEntity;
class DropPayload;

// Runs an action record on the dropped data.
class ActionRunner final
{
public:
    using DropPtr = std::shared_ptr<DropListEntity>;

    // Selects the action by catalog and type and starts it on the payload. Every run reports once; actions
    // whose result is ready when they return, and unknown kinds, which do nothing at all,
    // report NothingToReport. The uploads report the bytes sent over their whole batch to
    // progress.
    static void run(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                    const Korvane::Progress &progress = nullptr);
    // Whether run will run something for the record, and whether that action
    // has a result of its own to report (the synchronous ones only ever report NothingToReport).
    static bool canRun(const DropListEntity &drop, bool *reportsResult = nullptr);

    // The same run as a job: its progress, then its whole result once it has ended. With
    // Delivery::ToCaller the result reaches neither the clipboard nor the notifications.
    static ActionJob *start(const DropPtr &drop, const DropPayload &payload,
                            ActionReply::Delivery delivery = ActionReply::Delivery::ToDesktop);
};
