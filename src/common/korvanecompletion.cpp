#include "common/korvanecompletion.h"

#include "common/korvanelogging.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>

#include <atomic>

struct KorvaneCompletion::State {
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
            [handler = std::move(handler)] { handler(KorvaneOutcome::NothingToReport, KorvaneError()); },
            Qt::QueuedConnection);
    }
};

KorvaneCompletion::KorvaneCompletion(Handler handler, int)
    : m_state(std::make_shared<State>())
{
    m_state->handler = std::move(handler);
}

KorvaneCompletion::Handler KorvaneCompletion::successHandler(std::function<void(bool, const KorvaneError &)> handler)
{
    return [handler = std::move(handler)](KorvaneOutcome outcome, const KorvaneError &error) {
        if (outcome != KorvaneOutcome::NothingToReport && handler)
            handler(outcome == KorvaneOutcome::Succeeded, error);
    };
}

void KorvaneCompletion::operator()(bool success, const KorvaneError &error) const
{
    report(success ? KorvaneOutcome::Succeeded : KorvaneOutcome::Failed, error);
}

void KorvaneCompletion::report(KorvaneOutcome outcome, const KorvaneError &error) const
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

void finishOnMain(const KorvaneCompletion &completion, bool success, const KorvaneError &error)
{
    finishOnMain(completion, success ? KorvaneOutcome::Succeeded : KorvaneOutcome::Failed, error);
}

void finishOnMain(const KorvaneCompletion &completion, KorvaneOutcome outcome, const KorvaneError &error)
{
    if (!completion)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [completion, outcome, error] { completion.report(outcome, error); },
        Qt::QueuedConnection);
}
