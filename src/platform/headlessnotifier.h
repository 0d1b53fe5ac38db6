#pragma once

#include "platform/korvanenotifier.h"

#include <QList>

// Keeps the notifications it is asked to post; the command line reports them on stderr.
class HeadlessNotifier final : public KorvaneNotifier
{
public:
    void post(const KorvaneNotificationContent &content) override { m_posted.append(content); }
    const QList<KorvaneNotificationContent> &posted() const { return m_posted; }

private:
    QList<KorvaneNotificationContent> m_posted;
};
