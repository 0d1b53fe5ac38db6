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

// Runs an action record on the dropped data and offers the reporting every action uses:
// the result notification and the output naming rules.
class ActionRunner final
{
public:
    using DropPtr = std::shared_ptr<DropListEntity>;

    // Selects the action by catalog and type and starts it on the payload. Every run reports once; actions
    // whose result is ready when they return, and unknown kinds, which do nothing at all,
    // report NothingToReport. The uploads report the bytes sent over their whole batch to
    // progress.
    static void run(const DropPtr &drop, const DropPayload &payload, const ActionReply &reply,
                    const KorvaneProgress &progress = nullptr);
    // Whether run will run something for the record, and whether that action
    // has a result of its own to report (the synchronous ones only ever report NothingToReport).
    static bool canRun(const DropListEntity &drop, bool *reportsResult = nullptr);

    // The same run as a job: its progress, then its whole result once it has ended. With
    // Delivery::ToCaller the result reaches neither the clipboard nor the notifications.
    static ActionJob *start(const DropPtr &drop, const DropPayload &payload,
                            ActionReply::Delivery delivery = ActionReply::Delivery::ToDesktop);

    static Notification resultNotification(bool success, const DropListEntity &drop);

    static QUrl savePathUrl(const QString &path);
    static QString destFile(const QUrl &folder, const QUrl &sourceUrl, const QString &endName);
    static QString destFile(const QString &path);
    static QString sizeText(qint64 bytes);
    static QString urlEncoded(const QString &string);

    // The letter index places after the start letter, wrapping from "z" to "a", in the start
    // letter's case; no start letter counts as "a".
    static QString letterAt(const QString &startLetter, qint64 index);
    // Five characters from "0"-"9" and "a"-"z", drawn independently and evenly.
    static QString randomKey();
};
