#ifndef ONDREL_PLATFORM_TEXT_CODEC_H_
#define ONDREL_PLATFORM_TEXT_CODEC_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/wide_text.h"

namespace ondrel::platform {

// Conversions for the ANSI entry points: the calling thread's ANSI code page
// where the platform has one, UTF-8 elsewhere.
std::optional<WideString> ansiToWide(const char* text);
std::string wideToAnsi(WideView text);

// The code page number that names the system's ANSI code page.
inline constexpr std::uint32_t kAnsiCodePage = 0;
// What kAnsiCodePage reads as on a system without one.
inline constexpr std::uint32_t kWesternCodePage = 1252;

// `bytes` decoded from the Windows code page `codePage` (932, 936, 949, 950,
// 1252, ...) as UTF-8. kAnsiCodePage is the system's ANSI code page on
// Windows and 1252 elsewhere; a code page the system cannot decode reads as
// kAnsiCodePage. A byte that does not begin a character of the code page
// becomes U+FFFD, and the decoding goes on after it. Throws std::bad_alloc
// or std::length_error when the text does not fit in memory.
std::string codePageToUtf8(std::string_view bytes, std::uint32_t codePage);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_TEXT_CODEC_H_
