#pragma once

#include "standinserver.h"

// Answers a server sends to hurt its client, for a stand-in to play: each goes on for ever, and
// the server never holds more than a few blocks of it.
namespace HostileAnswers {

// "endlesschunks", "negativechunks", "hugechunk" (2^63 - 1, then silence), "bigchunk" (2 MiB, all of
// it at once, then silence), "drip" (a byte of 1000), "continueflood" ("100 Continue"),
// "endlesshead" (never the blank line); any other name, a 404.
// What repeats goes every intervalMs, or as fast as the client reads when it is 0.
StandInResponse named(const QString &name, int intervalMs = 0);

} // namespace HostileAnswers
