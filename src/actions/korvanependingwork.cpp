#include "korvanependingwork.h"

std::atomic_int KorvanePendingWork::s_count{0};

KorvaneCompletion KorvanePendingWork::track(const KorvaneCompletion &completion)
{
    ++s_count;
    return [completion](bool success, const KorvaneError &error) {
        --s_count;
        if (completion)
            completion(success, error);
    };
}
