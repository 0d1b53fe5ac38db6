#pragma once

#include "common/korvaneerror.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <type_traits>

// How a run ended. A run can end with nothing its caller should show: a text action whose
// result is ready when it returns, an image action that found no image, a kind this build
// has no action for. Those report NothingToReport, and the row and the command line keep
// what they showed for such runs before any report existed.
enum class KorvaneOutcome {
    Succeeded,
    Failed,
    NothingToReport,
};

// The end of one action run. It is reported exactly once, on the main thread, and never from
// inside the call that started the work: callers may update widgets from it safely. Copies
// share the one report; a second report is dropped with a warning, and a run that lets go of
// every copy without reporting reports NothingToReport, so no caller waits for ever.
class KorvaneCompletion final
{
public:
    using Handler = std::function<void(KorvaneOutcome outcome, const KorvaneError &error)>;

    KorvaneCompletion() = default;
    template<typename F, std::enable_if_t<std::is_invocable_v<F, KorvaneOutcome, const KorvaneError &>, int> = 0>
    KorvaneCompletion(F handler)
        : KorvaneCompletion(Handler(std::move(handler)), 0)
    {
    }
    // A handler that shows only success or failure never hears of NothingToReport.
    template<typename F, std::enable_if_t<std::is_invocable_v<F, bool, const KorvaneError &> && !std::is_invocable_v<F, KorvaneOutcome, const KorvaneError &> && !std::is_same_v<std::decay_t<F>, KorvaneCompletion>, int> = 0>
    KorvaneCompletion(F handler)
        : KorvaneCompletion(successHandler(std::move(handler)), 0)
    {
    }

    explicit operator bool() const { return m_state != nullptr; }

    void operator()(bool success, const KorvaneError &error = KorvaneError()) const;
    void report(KorvaneOutcome outcome, const KorvaneError &error = KorvaneError()) const;

private:
    struct State;

    KorvaneCompletion(Handler handler, int);
    static Handler successHandler(std::function<void(bool success, const KorvaneError &error)> handler);

    std::shared_ptr<State> m_state;
};

// Progress of an action that moves bytes: done of total, called on the main thread, done
// never going back and reaching total once, before the completion.
using KorvaneProgress = std::function<void(qint64 done, qint64 total)>;

// Reports to the completion on the main thread once the current event has been handled.
void finishOnMain(const KorvaneCompletion &completion, bool success, const KorvaneError &error = KorvaneError());
void finishOnMain(const KorvaneCompletion &completion, KorvaneOutcome outcome, const KorvaneError &error = KorvaneError());
