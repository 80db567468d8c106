#include "capture/svg/entity_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace ondrel {
namespace {

TEST(DecodeReferences, ReplacesEachReferenceOnce) {
  EXPECT_EQ(decodeReferences("&#49;&#x32;&#x4A;&#x4a;&lt;&gt;&amp;&quot;&apos;"), "12JJ<>&\"'");
  // A decoded '&' starts no new reference.
  EXPECT_EQ(decodeReferences("&amp;#49;&amp;lt;"), "&#49;&lt;");
  // A reference left as written does not hide the one after it.
  EXPECT_EQ(decodeReferences("&#4&#49;"), "&#41");
}

TEST(DecodeReferences, KeepsMalformedReferencesAsWritten) {
  for (std::string_view raw : {"&", "&#", "&#;", "&#x;", "&#49", "&#x31", "&#X31;", "&#1a;",
                               "&#x1g;", "&lt", "&LT;", "&nbsp;", "&&#"}) {
    SCOPED_TRACE(raw);
    EXPECT_EQ(decodeReferences(raw), raw);
  }
}

// A referenced character must never be narrowed to a byte that passes for a
// digit, a sign or a unit.
TEST(DecodeReferences, CharactersOutsideAsciiBecomeTheStandIn) {
  const std::string standIn(1, kNonAsciiStandIn);
  for (std::string_view raw : {"&#0;", "&#128;", "&#x130;", "&#x131;", "&#x12B;", "&#x10FFFF;",
                               "&#x110000;", "&#4294967345;", "&#x100000031;"}) {
    SCOPED_TRACE(raw);
    EXPECT_EQ(decodeReferences(raw), standIn);
  }
  EXPECT_EQ(decodeReferences("&#1;&#127;"), "\x01\x7F");
}

}  // namespace
}  // namespace ondrel
