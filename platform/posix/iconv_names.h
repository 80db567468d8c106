#ifndef ONDREL_PLATFORM_POSIX_ICONV_NAMES_H_
#define ONDREL_PLATFORM_POSIX_ICONV_NAMES_H_

#include <cstdint>
#include <string>

namespace ondrel::platform {

// The name iconv knows the Windows code page `codePage` by: "CP" and the
// number for the ANSI and OEM code pages (CP932, CP1252, CP437, ...), which
// glibc names so, and the standard name for the others Windows numbers
// (20866 KOI8-R, 28591 ISO-8859-1, 51932 EUC-JP, 65001 UTF-8, ...).
// kAnsiCodePage is 1252.
std::string iconvNameFor(std::uint32_t codePage);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_ICONV_NAMES_H_
