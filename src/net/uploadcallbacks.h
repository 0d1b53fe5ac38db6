#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <functional>

// How every store client reports one upload: the bytes of its request as they are sent, then
// its outcome, once. Both run on the main thread, never from inside the call that started the
// upload.
struct UploadCallbacks final {
    struct Outcome {
        bool stored = false;
        int status = 0; // the HTTP status where the client reads it; 0 when no answer came
        QString message; // why it was not stored, for the log or the caller; never a secret
        QVariant answer; // what the store answered, parsed, when the client reads it
        QString endpoint; // the endpoint host a store named as the bucket's own

        static Outcome notStored(const QString &why, int status = 0)
        {
            Outcome outcome;
            outcome.status = status;
            outcome.message = why;
            return outcome;
        }
    };

    using Done = std::function<void(const Outcome &outcome)>;
    // (body bytes sent, body size).
    using Progress = std::function<void(qint64 sent, qint64 total)>;

    Done done;
    Progress progress;
};
