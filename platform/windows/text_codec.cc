#include "platform/text_codec.h"

#include <climits>
#include <stdexcept>
#include <vector>

#include "platform/windows/native_text.h"

namespace ondrel::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

wchar_t* nativeBuffer(WideString& text) { return reinterpret_cast<wchar_t*>(text.data()); }

// The characters of `bytes` in `codePage`; with MB_ERR_INVALID_CHARS nothing
// when a byte begins no character, without it the system's stand-in for it.
std::optional<WideString> decodeWith(UINT codePage, DWORD flags, std::string_view bytes) {
  if (bytes.empty()) return WideString();
  const int size = int(bytes.size());
  const int needed = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  WideString wide(std::size_t(needed), u'\0');
  if (MultiByteToWideChar(codePage, flags, bytes.data(), size, nativeBuffer(wide), needed) <= 0) {
    return std::nullopt;
  }
  return wide;
}

std::optional<WideString> decodeStrictly(UINT codePage, std::string_view bytes) {
  return decodeWith(codePage, MB_ERR_INVALID_CHARS, bytes);
}

// One character at a time, a lead byte and the next together, so that a
// byte that begins none is replaced alone.
WideString decodeCharacterByCharacter(UINT codePage, std::string_view bytes) {
  WideString wide;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const bool leads = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[pos]));
    const std::size_t length = leads && pos + 1 < bytes.size() ? 2 : 1;
    if (const std::optional<WideString> character =
            decodeStrictly(codePage, bytes.substr(pos, length))) {
      wide += *character;
      pos += length;
    } else {
      wide.push_back(kReplacement);
      ++pos;
    }
  }
  return wide;
}

// The system says only that something failed to decode, not where; each
// line that fails is decoded again a character at a time. A line feed is
// never part of a character in a code page of one or two bytes a character.
WideString decodeLineByLine(UINT codePage, std::string_view bytes) {
  WideString wide;
  while (!bytes.empty()) {
    const std::size_t lineEnd = bytes.find('\n');
    const std::size_t length = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
    const std::string_view line = bytes.substr(0, length);
    if (const std::optional<WideString> decoded = decodeStrictly(codePage, line)) {
      wide += *decoded;
    } else {
      wide += decodeCharacterByCharacter(codePage, line);
    }
    bytes.remove_prefix(length);
  }
  return wide;
}

WideString decode(UINT codePage, std::string_view bytes) {
  if (std::optional<WideString> whole = decodeStrictly(codePage, bytes)) return *std::move(whole);
  CPINFO info{};
  if (GetCPInfo(codePage, &info) && info.MaxCharSize <= 2) return decodeLineByLine(codePage, bytes);
  // Code pages of longer characters, or with no check, get the system's stand-ins.
  return decodeWith(codePage, 0, bytes).value_or(WideString(bytes.size(), kReplacement));
}

}  // namespace

std::optional<WideString> ansiToWide(const char* text) {
  if (text == nullptr) return std::nullopt;
  const int needed = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::vector<wchar_t> buffer(std::size_t(needed), L'\0');
  if (MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, buffer.data(), needed) <= 0) {
    return std::nullopt;
  }
  return fromNative(buffer.data());
}

std::string wideToAnsi(WideView text) {
  if (text.empty()) return {};
  const WideString source(text);
  const int needed = WideCharToMultiByte(CP_THREAD_ACP, 0, native(source), int(source.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string converted(std::size_t(needed), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, native(source), int(source.size()), converted.data(),
                      needed, nullptr, nullptr);
  return converted;
}

std::string codePageToUtf8(std::string_view bytes, std::uint32_t codePage) {
  // The system counts characters in an int.
  if (bytes.size() > std::size_t(INT_MAX)) throw std::length_error("text too long to decode");
  const bool known = codePage != kAnsiCodePage && IsValidCodePage(codePage);
  return wideToUtf8(decode(known ? codePage : GetACP(), bytes));
}

}  // namespace ondrel::platform
