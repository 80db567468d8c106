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

TEST(WideText, LetterCaseFoldsForAsciiOnly) {
  EXPECT_TRUE(equalsIgnoringAsciiCase(u".HTML", u".html"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u".htm", u".html"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"\u00C9", u"\u00E9"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"[", u"{")) << "only letters fold";
}

}  // namespace
}  // namespace ondrel
