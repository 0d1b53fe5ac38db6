#include "actions/actionreply.h"

#include "store/droplistentity.h"
#include "platform/clipboard.h"
#include "platform/settings.h"
#include "platform/notifier.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>

struct ActionReply::Record {
    QMutex mutex;
    ActionResult result;
    Delivery delivery = Delivery::ToDesktop;
};

ActionReply::ActionReply()
    : ActionReply(Korvane::Completion())
{
}

ActionReply::ActionReply(Korvane::Completion completion, Delivery delivery)
    : m_completion(std::move(completion))
    , m_record(std::make_shared<Record>())
{
    m_record->delivery = delivery;
}

ActionReply ActionReply::collecting(Delivery delivery, std::function<void(const ActionResult &)> finished)
{
    ActionReply reply(Korvane::Completion(), delivery);
    // Actions may write their result and notification just after they report the end, in
    // the same turn of the event loop; the result is taken once that turn is over.
    reply.m_completion = Korvane::Completion([record = reply.m_record, finished = std::move(finished)](Korvane::Outcome outcome, const Korvane::Error &error) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [record, finished, outcome, error] {
                ActionResult result;
                {
                    const QMutexLocker lock(&record->mutex);
                    result = record->result;
                }
                result.outcome = outcome;
                result.error = error;
                finished(result);
            },
            Qt::QueuedConnection);
    });
    return reply;
}

Notification ActionReply::resultNotification(bool success, const DropListEntity &drop)
{
    Notification content;
    content.attachmentImage = success ? QStringLiteral(":/images/notificationDone.png")
                                      : QStringLiteral(":/images/notificationFail.png");
    content.title = (success ? qtTrId("succeedNotif") : qtTrId("failureNotif")).arg(drop.title());
    content.badge = 0;
    return content;
}

bool ActionReply::toDesktop() const
{
    return m_record->delivery == Delivery::ToDesktop;
}

void ActionReply::copyText(const QString &text) const
{
    if (text.isEmpty())
        return;
    {
        const QMutexLocker lock(&m_record->mutex);
        m_record->result.content = ActionResult::Content::Text;
        m_record->result.text = text;
    }
    if (toDesktop())
        Platform::clipboard()->writeText(text);
}

void ActionReply::copyImages(const QVariantList &objects) const
{
    {
        const QMutexLocker lock(&m_record->mutex);
        m_record->result.content = ActionResult::Content::Objects;
        m_record->result.objects = objects;
    }
    if (toDesktop())
        Platform::clipboard()->writeObjects(objects);
}

void ActionReply::copyImageData(const QByteArray &data, const QString &mimeType) const
{
    {
        const QMutexLocker lock(&m_record->mutex);
        m_record->result.content = ActionResult::Content::ImageData;
        m_record->result.imageData = data;
        m_record->result.imageMimeType = mimeType;
    }
    if (toDesktop())
        Platform::clipboard()->writeImageData(data, mimeType);
}

void ActionReply::notify(const Notification &content) const
{
    if (Korvane::Settings::muteNotifi.read() == 1)
        return;
    {
        const QMutexLocker lock(&m_record->mutex);
        m_record->result.notifications.append(content);
    }
    if (toDesktop())
        Platform::notifier()->post(content);
}

void ActionReply::operator()(bool success, const Korvane::Error &error) const
{
    m_completion(success, error);
}

void ActionReply::report(Korvane::Outcome outcome, const Korvane::Error &error) const
{
    m_completion.report(outcome, error);
}

ActionResult ActionReply::result() const
{
    const QMutexLocker lock(&m_record->mutex);
    return m_record->result;
}
