#ifndef ONDREL_CAPTURE_DEVTOOLS_FAILURE_WORDS_H_
#define ONDREL_CAPTURE_DEVTOOLS_FAILURE_WORDS_H_

#include <cstdint>
#include <optional>
#include <string>

#include "capture/capture_report.h"
#include "capture/devtools/protocol_connection.h"

namespace ondrel::devtools {

// What became of the browser after the failure: a kept browser outlives a
// page that ran out of time, whose context alone is dropped.
enum class BrowserFate { kStopped, kKept };

// What went wrong on a browser's connection, as the user reads it: the
// browser's own message for a refused command, the step a time-out, a gone
// page or a closed pipe cut short. `exitCode` is the browser's once it has
// ended.
std::string failureInWords(const ConnectionFailure& failure, std::int32_t waitSeconds,
                           std::optional<std::uint32_t> exitCode,
                           BrowserFate fate = BrowserFate::kStopped);

// Puts the connection's failure into `report`, when both are there.
void reportConnectionFailure(CaptureReport* report, const ProtocolConnection& connection,
                             std::optional<std::uint32_t> exitCode,
                             BrowserFate fate = BrowserFate::kStopped);

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_FAILURE_WORDS_H_
