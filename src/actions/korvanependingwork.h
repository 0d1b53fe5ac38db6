#pragma once

#include "korvanecompletion.h"

#include <atomic>

// Actions that wait on something other than the thread pool (a helper process, a delayed
// completion) count here until they report, so the command line does not mistake the wait
// for an action that found nothing to do.
class KorvanePendingWork final
{
public:
    KorvanePendingWork() = delete;

    // Counts one piece of work until the returned completion is called, which it must be.
    static KorvaneCompletion track(const KorvaneCompletion &completion);
    static int count() { return s_count.load(); }

private:
    static std::atomic_int s_count;
};
