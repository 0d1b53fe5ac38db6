#pragma once

#include "korvaneerror.h"

#include <functional>

// A completion is called exactly once, on the main thread, and never from inside the call
// that started the work: callers may update widgets from it safely.
using KorvaneCompletion = std::function<void(bool success, const KorvaneError &error)>;

// Calls the completion on the main thread once the current event has been handled.
void finishOnMain(const KorvaneCompletion &completion, bool success, const KorvaneError &error = KorvaneError());
