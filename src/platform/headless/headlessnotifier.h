#pragma once

#include "platform/notifier.h"

#include <QList>

// Keeps the notifications it is asked to post; the command line reports them on stderr.
class HeadlessNotifier final : public Notifier
{
public:
    void post(const Notification &content) override { m_posted.append(content); }
    const QList<Notification> &posted() const { return m_posted; }

private:
    QList<Notification> m_posted;
};
