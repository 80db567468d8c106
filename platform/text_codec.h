#ifndef ONDREL_PLATFORM_TEXT_CODEC_H_
#define ONDREL_PLATFORM_TEXT_CODEC_H_

#include <optional>
#include <string>

#include "text/wide_text.h"

namespace ondrel::platform {

// Conversions for the ANSI entry points: the calling thread's ANSI code page
// where the platform has one, UTF-8 elsewhere.
std::optional<WideString> ansiToWide(const char* text);
std::string wideToAnsi(WideView text);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_TEXT_CODEC_H_
