#include "text/wide_text.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(WideText, Utf8RoundTrips) {
  for (const char* text : {"", "plain", "html\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB",
                           "\xF0\x9F\x98\x80 emoji", "\xC3\xA9t\xC3\xA9"}) {
    EXPECT_EQ(wideToUtf8(utf8ToWide(text)), text);
  }
  EXPECT_EQ(utf8ToWide("\xF0\x9F\x98\x80"), u"\U0001F600");
}

TEST(WideText, IllFormedTextBecomesReplacementCharacters) {
  EXPECT_EQ(utf8ToWide("a\xFF"
                       "b"),
            u"a\uFFFDb");
  EXPECT_EQ(utf8ToWide("\xE3\x83"), u"\uFFFD\uFFFD");
  EXPECT_EQ(utf8ToWide("\xC0\xAF"), u"\uFFFD\uFFFD") << "overlong forms are refused";
  EXPECT_EQ(utf8ToWide("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "no encoded surrogates";
  EXPECT_EQ(wideToUtf8(WideString(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

// Decides whether a document is read as UTF-8 or decoded from a code page: a genuine U+FFFD is
// well-formed, the damage it stands for is not.
TEST(WideText, WellFormedUtf8IsToldFromTheRest) {
  for (const char* text : {"", "plain", "\xEF\xBF\xBD",
                           "\xEF\xBB\xBF"
                           "bom",
                           "\xF4\x8F\xBF\xBF", "\xE8\xA1\xA8\xE7\xA4\xBA"}) {
    EXPECT_TRUE(isWellFormedUtf8(text)) << text;
  }
  for (const char* text : {"\x95\x5C", "caf\xE9", "\xE3\x83", "\xC0\xAF", "\xED\xA0\x80",
                           "\xF4\x90\x80\x80", "ok\xFF"}) {
    EXPECT_FALSE(isWellFormedUtf8(text)) << text;
  }
}

TEST(WideText, Utf16BytesInEitherOrder) {
  const std::string_view little("a\0\x3D\xD8\x00\xDE", 6);
  const std::string_view big("\0a\xD8\x3D\xDE\x00", 6);
  EXPECT_EQ(utf16FromBytes(little, ByteOrder::kLittleEndian), u"a\U0001F600");
  EXPECT_EQ(utf16FromBytes(big, ByteOrder::kBigEndian), u"a\U0001F600");
  EXPECT_EQ(utf16FromBytes(std::string_view("a\0b", 3), ByteOrder::kLittleEndian), u"a\uFFFD")
      << "odd last byte";
}

TEST(WideText, LetterCaseFoldsForAsciiOnly) {
  EXPECT_TRUE(equalsIgnoringAsciiCase(u".HTML", u".html"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u".htm", u".html"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"\u00C9", u"\u00E9"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"[", u"{")) << "only letters fold";
}

}  // namespace
}  // namespace ondrel
