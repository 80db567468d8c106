#ifndef ONDREL_PLATFORM_LOG_FILE_H_
#define ONDREL_PLATFORM_LOG_FILE_H_

#include <cstdint>
#include <string_view>

#include "text/wide_text.h"

namespace ondrel::platform {

// Appends `lines` to the log file `path`, made when missing, with one open,
// one write and one close. The file is opened with sharing, so that other
// viewers may append to it, read, rename or remove it meanwhile, and the
// lines of one call stay together. A file of `rotateAbove` bytes or more is
// first renamed to `path` + ".1", replacing that, and a new one begun.
//
// False when the lines could not be written; nothing is ever waited for. On
// POSIX a link is never followed and only a plain file of the user's own is
// written into, so another user's planted file learns nothing.
bool appendToLog(const WideString& path, std::string_view lines, std::uint64_t rotateAbove);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_LOG_FILE_H_
