#pragma once

#include "common/error.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <type_traits>

namespace Korvane {

// How a run ended. A run can end with nothing its caller should show: a text action whose
// result is ready when it returns, an image action that found no image, a kind this build
// has no action for. Those report NothingToReport, and the row and the command line keep
// what they showed for such runs before any report existed.
enum class Outcome {
    Succeeded,
    Failed,
    NothingToReport,
};

// The end of one action run. It is reported exactly once, on the main thread, and never from
// inside the call that started the work: callers may update widgets from it safely. Copies
// share the one report; a second report is dropped with a warning, and a run that lets go of
// every copy without reporting reports NothingToReport, so no caller waits for ever.
class Completion final
{
public:
    using Handler = std::function<void(Outcome outcome, const Error &error)>;

    Completion() = default;
    template<typename F, std::enable_if_t<std::is_invocable_v<F, Outcome, const Error &>, int> = 0>
    Completion(F handler)
        : Completion(Handler(std::move(handler)), 0)
    {
    }
    // A handler that shows only success or failure never hears of NothingToReport.
    template<typename F, std::enable_if_t<std::is_invocable_v<F, bool, const Error &> && !std::is_invocable_v<F, Outcome, const Error &> && !std::is_same_v<std::decay_t<F>, Completion>, int> = 0>
    Completion(F handler)
        : Completion(successHandler(std::move(handler)), 0)
    {
    }

    explicit operator bool() const { return m_state != nullptr; }

    void operator()(bool success, const Error &error = Error()) const;
    void report(Outcome outcome, const Error &error = Error()) const;

private:
    struct State;

    Completion(Handler handler, int);
    static Handler successHandler(std::function<void(bool success, const Error &error)> handler);

    std::shared_ptr<State> m_state;
};

// Progress of an action that moves bytes: done of total, called on the main thread, done
// never going back and reaching total once, before the completion.
using Progress = std::function<void(qint64 done, qint64 total)>;

// Reports to the completion on the main thread once the current event has been handled.
void finishOnMain(const Completion &completion, bool success, const Error &error = Error());
void finishOnMain(const Completion &completion, Outcome outcome, const Error &error = Error());

} // namespace Korvane
