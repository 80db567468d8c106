#pragma once

#include <optional>
#include <string>

#include "platform/wide_text.h"

namespace ondrel::platform {

// Conversions for the ANSI entry points: the calling thread's ANSI code page
// where the platform has one, UTF-8 elsewhere.
std::optional<WideString> ansiToWide(const char* text);
std::string wideToAnsi(WideView text);

}  // namespace ondrel::platform
