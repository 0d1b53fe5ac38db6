#pragma once

#include "actions/actionresult.h"

#include <QObject>

// One run started by ActionRunner::start. It reports progress while the action moves bytes,
// then finished once, on the main thread and never from inside start, and deletes itself.
class ActionJob final : public QObject
{
    Q_OBJECT

public:
    explicit ActionJob(QObject *parent = nullptr);

Q_SIGNALS:
    void progressed(qint64 done, qint64 total);
    void finished(const ActionResult &result);
};
