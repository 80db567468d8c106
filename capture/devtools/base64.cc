#include "capture/devtools/base64.h"

#include <array>

namespace ondrel::devtools {
namespace {

constexpr int kNotInAlphabet = -1;

constexpr std::array<int, 256> alphabetValues() {
  std::array<int, 256> values{};
  values.fill(kNotInAlphabet);
  constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) values[std::uint8_t(kAlphabet[i])] = int(i);
  return values;
}

constexpr std::array<int, 256> kValues = alphabetValues();

}  // namespace

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') {
    ++padding;
  }
  const std::size_t significant = text.size() - padding;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  std::uint32_t group = 0;
  int bits = 0;
  for (std::size_t i = 0; i < significant; ++i) {
    const int value = kValues[std::uint8_t(text[i])];
    if (value == kNotInAlphabet) return std::nullopt;
    group = (group << 6) | std::uint32_t(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes.push_back(std::uint8_t(group >> bits));
    }
  }
  // Bits left over after the last whole byte must be zero.
  if ((group & ((1u << bits) - 1)) != 0) return std::nullopt;
  return bytes;
}

}  // namespace ondrel::devtools
