#include "capture/svg/entity_decoding.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "capture/svg/xml_characters.h"

namespace ondrel {
namespace {

// Decodes the character reference after "&#" in `raw`. Gives the character
// and the length of the reference, or nothing when it is malformed.
std::optional<std::pair<char, std::size_t>> decodeCharacterReference(std::string_view raw) {
  std::size_t at = 2;
  unsigned base = 10;
  if (at < raw.size() && raw[at] == 'x') {
    base = 16;
    ++at;
  }
  const std::size_t digitsStart = at;
  std::uint32_t code = 0;
  for (; at < raw.size(); ++at) {
    const char c = raw[at];
    unsigned digit;
    if (isDigit(c)) {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    if (code <= 0x10FFFF) code = code * base + digit;
  }
  if (at == digitsStart || at == raw.size() || raw[at] != ';') return std::nullopt;
  const char c = code > 0 && code < 0x80 ? static_cast<char>(code) : kNonAsciiStandIn;
  return std::pair{c, at + 1};
}

// Decodes the predefined entity reference after '&' in `raw`.
std::optional<std::pair<char, std::size_t>> decodeEntityReference(std::string_view raw) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  for (const auto& [reference, c] : kEntities) {
    if (raw.starts_with(reference)) return std::pair{c, reference.size()};
  }
  return std::nullopt;
}

}  // namespace

// Each failed reference is rescanned at most once, so the work stays linear.
std::string decodeReferences(std::string_view raw) {
  std::string decoded;
  decoded.reserve(raw.size());
  while (!raw.empty()) {
    std::optional<std::pair<char, std::size_t>> reference;
    if (raw.starts_with("&#")) {
      reference = decodeCharacterReference(raw);
    } else if (raw.starts_with('&')) {
      reference = decodeEntityReference(raw);
    }
    const auto [c, length] = reference.value_or(std::pair{raw.front(), std::size_t{1}});
    decoded += c;
    raw.remove_prefix(length);
  }
  return decoded;
}

}  // namespace ondrel
