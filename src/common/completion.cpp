#include "common/completion.h"

#include "common/commonlogging.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>

#include <atomic>

namespace Korvane {

struct Completion::State {
    Handler handler;
    std::atomic_bool reported{false};

    // The last copy may go on a pool thread; the report still belongs to the main thread.
    ~State()
    {
        if (reported || !handler || !QCoreApplication::instance())
            return;
        qCWarning(lcCompletion, "an action run ended without reporting; it reports that it has nothing to report");
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [handler = std::move(handler)] { handler(Outcome::NothingToReport, Error()); },
            Qt::QueuedConnection);
    }
};

Completion::Completion(Handler handler, int)
    : m_state(std::make_shared<State>())
{
    m_state->handler = std::move(handler);
}

Completion::Handler Completion::successHandler(std::function<void(bool, const Error &)> handler)
{
    return [handler = std::move(handler)](Outcome outcome, const Error &error) {
        if (outcome != Outcome::NothingToReport && handler)
            handler(outcome == Outcome::Succeeded, error);
    };
}

void Completion::operator()(bool success, const Error &error) const
{
    report(success ? Outcome::Succeeded : Outcome::Failed, error);
}

void Completion::report(Outcome outcome, const Error &error) const
{
    if (!m_state)
        return;
    if (m_state->reported.exchange(true)) {
        qCWarning(lcCompletion, "an action run reported a second time; the report is dropped");
        return;
    }
    // Whatever the handler holds is let go once it has run.
    const Handler handler = std::move(m_state->handler);
    if (handler)
        handler(outcome, error);
}

void finishOnMain(const Completion &completion, bool success, const Error &error)
{
    finishOnMain(completion, success ? Outcome::Succeeded : Outcome::Failed, error);
}

void finishOnMain(const Completion &completion, Outcome outcome, const Error &error)
{
    if (!completion)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [completion, outcome, error] { completion.report(outcome, error); },
        Qt::QueuedConnection);
}

} // namespace Korvane
