#pragma once

#include "korvaneerror.h"

#include <QtGlobal>

#include <functional>

// A completion is called exactly once, on the main thread, and never from inside the call
// that started the work: callers may update widgets from it safely.
using KorvaneCompletion = std::function<void(bool success, const KorvaneError &error)>;

// Progress of an action that moves bytes: done of total, called on the main thread, done
// never going back and reaching total once, before the completion.
using KorvaneProgress = std::function<void(qint64 done, qint64 total)>;

// Calls the completion on the main thread once the current event has been handled.
void finishOnMain(const KorvaneCompletion &completion, bool success, const KorvaneError &error = KorvaneError());
