// Decoding legacy code pages to UTF-8, with iconv on Linux and the system on Windows: both must
// read the same bytes as the same text. The system's ANSI code page is the one this run's
// environment names in ONDREL_EXPECTED_ANSI_CODE_PAGE (1252 on Linux; under wine64 the locale's).

#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ondrel::platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::uint32_t expectedAnsiCodePage() {
  const char* value = std::getenv("ONDREL_EXPECTED_ANSI_CODE_PAGE");
  return value ? std::uint32_t(std::strtoul(value, nullptr, 10)) : 0;
}

struct Sample {
  std::uint32_t codePage;
  std::string_view bytes;
  std::string_view utf8;
};

// "表示" and "ソ" end in 0x5C, "ポ" in 0x7C: a decoder must take them as second bytes.
constexpr Sample kJapanese{932, "\x95\x5C\x8E\xA6 \x83\x5C|\x83\x7C \\",
                           "\xE8\xA1\xA8\xE7\xA4\xBA \xE3\x82\xBD|\xE3\x83\x9D \\"};
constexpr Sample kWestern{1252, "\x80 caf\xE9", "\xE2\x82\xAC caf\xC3\xA9"};

TEST(CodePageTest, AnsiAndDoubleByteCodePagesOfWindows) {
  const Sample samples[] = {
      kJapanese,
      {936, "\xD6\xD0\xCE\xC4", "\xE4\xB8\xAD\xE6\x96\x87"},
      {949, "\xC7\xD1\xB1\xB9\xBE\xEE", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4"},
      {950, "\xA4\xA4\xA4\xE5", "\xE4\xB8\xAD\xE6\x96\x87"},
      {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
      kWestern,
      {65001, "caf\xC3\xA9", "caf\xC3\xA9"},
      {932, "", ""},
  };
  for (const Sample& sample : samples) {
    EXPECT_EQ(codePageToUtf8(sample.bytes, sample.codePage), sample.utf8) << sample.codePage;
  }
}

TEST(CodePageTest, BytesThatBeginNoCharacterBecomeReplacementCharacters) {
  const std::string r(kReplacement);
  // A lead byte before a space keeps the space; one cut off by the end is replaced too.
  EXPECT_EQ(codePageToUtf8("a\x81 b\x95", 932), "a" + r + " b" + r);
  // Many broken lines among good ones: each good character survives.
  std::string bytes;
  std::string utf8;
  for (int line = 0; line < 200; ++line) {
    bytes += "\x95\x5C\x81\n";
    utf8 += "\xE8\xA1\xA8" + r + "\n";
  }
  EXPECT_EQ(codePageToUtf8(bytes, 932), utf8);
  EXPECT_EQ(codePageToUtf8("caf\xC3\xA9\xFF!", 65001), "caf\xC3\xA9" + r + "!");
}

// Each "€" takes one byte in 1252 and three in UTF-8, more than a decoder would set aside.
TEST(CodePageTest, TextThatGrowsThreefoldIsWhole) {
  std::string euros;
  for (int i = 0; i < 10000; ++i) euros += "\xE2\x82\xAC";
  EXPECT_EQ(codePageToUtf8(std::string(10000, '\x80'), 1252), euros);
}

TEST(CodePageTest, SystemCodePageIsTheAnsiOne) {
  const std::uint32_t ansi = expectedAnsiCodePage();
  ASSERT_TRUE(ansi == 932 || ansi == 1252) << "ONDREL_EXPECTED_ANSI_CODE_PAGE is not set";
  const Sample& sample = ansi == 932 ? kJapanese : kWestern;
  EXPECT_EQ(codePageToUtf8(sample.bytes, kAnsiCodePage), sample.utf8);
  // A number that is no code page reads as the system's.
  for (const std::uint32_t unknown : {1u, 12345u, 99999u}) {
    EXPECT_EQ(codePageToUtf8(sample.bytes, unknown), sample.utf8) << unknown;
  }
}

}  // namespace
}  // namespace ondrel::platform
