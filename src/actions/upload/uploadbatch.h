#pragma once

#include "actions/actionreply.h"
#include "actions/upload/uploadbatchprogress.h"
#include "net/uploadcallbacks.h"
#include "store/uploadhistory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DropListEntity;

// One run of an upload action: its units, the answers counted on the main thread (so that
// answers arriving together are all counted and the result step runs once), the bytes sent
// over the whole batch, and the links kept in the upload history.
class UploadBatch final : public std::enable_shared_from_this<UploadBatch>
{
public:
    using DropPtr = std::shared_ptr<DropListEntity>;
    using ResultStep = void (*)(const DropPtr &drop, qint64 failCount, const ActionReply &reply,
                                const QStringList &urls, const QStringList &failures);

    // What one unit sends: a file, streamed from its path, or the image data.
    struct Unit {
        QString fileName; // empty for image data
        qint64 size = 0;
        QString key; // the object's name in the store, where the store is told one
        QString path;
        QByteArray bytes;

        static Unit ofFile(const QString &path, const QString &key);
        static Unit ofData(const QByteArray &bytes, const QString &key);
    };

    // The link of a stored unit, made from its store's outcome; an empty one counts as a failure.
    using Link = std::function<QString(const UploadCallbacks::Outcome &outcome)>;

    UploadBatch(const DropPtr &drop, const ActionReply &reply, ResultStep resultStep, const QString &store,
                const QList<Unit> &units, const Korvane::Progress &progress);

    // Uploads of one batch that run at once, as common upload tools do: every upload holds its
    // file open and a connection, and a drop of thousands must not run out of either.
    static constexpr int MaximumRunningUploads = 4;

    qint64 total() const { return m_units.size(); }
    const Unit &unit(qsizetype unit) const { return m_units.at(unit); }
    // Starts the unit's upload now, or once fewer than MaximumRunningUploads run; its file is
    // opened only then. The unit's answer frees its place.
    void start(qsizetype unit, std::function<void()> upload);
    // Starts every unit from the first given, in order, each as start() does.
    void startEach(qsizetype first, const std::function<void(qsizetype unit)> &upload);
    // Runs the result step at once for a batch with nothing to send; false when there is some.
    bool completeIfEmpty();

    // What the unit's store client reports to: its bytes sent, then its outcome, counted by
    // answer() with the link made of it when stored. They keep the batch alive.
    UploadCallbacks callbacks(qsizetype unit, const Link &link);

    void unitSent(qsizetype unit, qint64 sent, qint64 bodySize);
    // Counts the unit's answer (an empty link is a failure); the last one completes the run.
    void answer(qsizetype unit, const QString &url);
    // For a run that counts its answers elsewhere: the unit has answered, with its link or
    // none, and its bytes are all sent.
    void unitAnswered(qsizetype unit, const QString &url);
    // Keeps the links in the history and runs the result step.
    void complete(qint64 failCount, const QStringList &urls);

private:
    void startWaiting();

    DropPtr m_drop;
    ActionReply m_reply;
    ResultStep m_resultStep = nullptr;
    QString m_store;
    QList<Unit> m_units;
    UploadBatchProgress m_progress;
    qint64 m_finished = 0;
    qint64 m_failed = 0;
    QStringList m_urls;
    QList<UploadHistory::Entry> m_stored;
    QList<QPair<qsizetype, std::function<void()>>> m_waiting;
    QList<bool> m_running;
    int m_runningCount = 0;
    bool m_starting = false;
    // Which files failed and why, in the order they answered.
    QStringList m_failures;
};
