#pragma once

#include "actions/actionresult.h"

#include <functional>
#include <memory>
#include <type_traits>

class DropListEntity;

// An action's side of one run: where it puts its result and how it says it has ended.
// Copies share the run. The end is the completion's contract (once, on the main thread);
// the result is kept for the run's job and, unless the caller keeps it to itself, goes to
// the desktop's clipboard and notifications as the action writes it. The writers may be
// called from any thread.
class ActionReply final
{
public:
    enum class Delivery {
        ToDesktop,
        ToCaller,
    };

    // A run nobody waits for: what the action writes goes to the desktop.
    ActionReply();
    ActionReply(Korvane::Completion completion, Delivery delivery = Delivery::ToDesktop);
    template<typename F, std::enable_if_t<std::is_constructible_v<Korvane::Completion, F> && !std::is_same_v<std::decay_t<F>, Korvane::Completion> && !std::is_same_v<std::decay_t<F>, ActionReply>, int> = 0>
    ActionReply(F handler)
        : ActionReply(Korvane::Completion(std::move(handler)))
    {
    }

    // A run whose end hands its whole result to finished (what it wrote, how it ended), on
    // the main thread once the turn of the event loop in which it ended is over.
    static ActionReply collecting(Delivery delivery, std::function<void(const ActionResult &result)> finished);

    // A run's notification: the action's title with "succeeded" or "failed", and its picture.
    static Notification resultNotification(bool success, const DropListEntity &drop);

    void copyText(const QString &text) const;
    void copyImages(const QVariantList &objects) const;
    // Image bytes under their own type ("image/jpeg", "image/tiff", ...), so that a JPEG
    // result is never offered as PNG.
    void copyImageData(const QByteArray &data, const QString &mimeType = QStringLiteral("image/png")) const;
    // Nothing is posted, nor kept, while the user has muted notifications.
    void notify(const Notification &content) const;

    void operator()(bool success, const Korvane::Error &error = Korvane::Error()) const;
    void report(Korvane::Outcome outcome, const Korvane::Error &error = Korvane::Error()) const;
    // For the code an action hands its end to (network clients, finishOnMain).
    operator Korvane::Completion() const { return m_completion; }

    // What the run has written so far.
    ActionResult result() const;

private:
    struct Record;

    bool toDesktop() const;

    Korvane::Completion m_completion;
    std::shared_ptr<Record> m_record;
};
