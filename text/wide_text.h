#ifndef ONDREL_TEXT_WIDE_TEXT_H_
#define ONDREL_TEXT_WIDE_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace ondrel {

// File names and settings travel as UTF-16 text on every platform.
using WideString = std::u16string;
using WideView = std::u16string_view;

// File and folder names are held in buffers of this many wide characters,
// terminator included, so a usable name has at most kPathCapacity - 1.
inline constexpr std::size_t kPathCapacity = 260;

// True when the name fits a path buffer with its terminator.
inline bool fitsPathBuffer(WideView path) { return path.size() < kPathCapacity; }

// ASCII letters fold; every other code unit compares as it is.
bool equalsIgnoringAsciiCase(WideView a, WideView b);

WideString widenAscii(std::string_view ascii);

// UTF-8 <-> UTF-16. Ill-formed input is replaced with U+FFFD, never rejected.
WideString utf8ToWide(std::string_view utf8);
std::string wideToUtf8(WideView wide);

// Whether every byte belongs to a well-formed UTF-8 sequence: no overlong
// forms, surrogates or code points past U+10FFFF.
bool isWellFormedUtf8(std::string_view bytes);

// UTF-16 code units stored as bytes, two to a unit in the given order; an
// odd last byte becomes U+FFFD.
enum class ByteOrder { kLittleEndian, kBigEndian };
WideString utf16FromBytes(std::string_view bytes, ByteOrder order);

}  // namespace ondrel

#endif  // ONDREL_TEXT_WIDE_TEXT_H_
