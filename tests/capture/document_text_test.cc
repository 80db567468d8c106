// How a GitHub-flavoured staging reads a document's bytes as UTF-8 text: Unicode as it is or
// converted, anything else from the code page it is told.

#include "capture/staging/document_text.h"

#include <gtest/gtest.h>

#include "capture/staging/markdown_staging.h"
#include "text/wide_text.h"

namespace ondrel {
namespace {

// A heading, a paragraph and a table cell in Japanese. In CP932 "表" and "ソ" end in 0x5C ("\")
// and "ポ" in 0x7C ("|"), which a parser reading the bytes would take for an escape and a cell's
// end.
constexpr std::string_view kUtf8Note =
    "# \xE8\xA1\xA8\xE7\xA4\xBA\n\n"                                      // 表示
    "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88*\xE4\xB8\x80\xE8\xA6\xA7*\n\n"  // ソフト*一覧*
    "|\xE8\xA1\xA8|\xE3\x83\x9D|\n|-|-|\n";                               // |表|ポ|
constexpr std::string_view kCp932Note =
    "# \x95\x5C\x8E\xA6\n\n"
    "\x83\x5C\x83\x74\x83\x67*\x88\xEA\x97\x97*\n\n"
    "|\x95\x5C|\x83\x7C|\n|-|-|\n";

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string withCrLf(std::string_view text) {
  std::string crlf;
  for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return crlf;
}

std::string utf16Bytes(std::string_view utf8, ByteOrder order, bool withMark = true) {
  std::string bytes;
  WideString wide = utf8ToWide(utf8);
  if (withMark) wide.insert(wide.begin(), u'\uFEFF');
  for (const char16_t unit : wide) {
    const char low = char(unit & 0xFF);
    const char high = char(unit >> 8);
    bytes += order == ByteOrder::kLittleEndian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

TEST(DocumentText, Utf8ReadsAsTodayWithOrWithoutItsMark) {
  for (const std::string& document :
       {std::string(kUtf8Note), "\xEF\xBB\xBF" + std::string(kUtf8Note), std::string("plain"),
        std::string(""), std::string("caf\xC3\xA9 \xEF\xBF\xBD \xF0\x9F\x98\x80")}) {
    EXPECT_EQ(utf8DocumentText(document, 932), readAsText(document));
    EXPECT_EQ(utf8DocumentText(withCrLf(document), 932), readAsText(document));
  }
}

TEST(DocumentText, Utf16WithItsMarkIsConvertedInEitherOrder) {
  for (const ByteOrder order : {ByteOrder::kLittleEndian, ByteOrder::kBigEndian}) {
    SCOPED_TRACE(order == ByteOrder::kLittleEndian ? "little-endian" : "big-endian");
    EXPECT_EQ(utf8DocumentText(utf16Bytes(kUtf8Note, order), 1252), kUtf8Note);
    EXPECT_EQ(utf8DocumentText(utf16Bytes(withCrLf(kUtf8Note), order), 1252), kUtf8Note);
    // Beyond the basic plane, through surrogate pairs.
    EXPECT_EQ(utf8DocumentText(utf16Bytes("\xF0\x9F\x98\x80 x", order), 1252),
              "\xF0\x9F\x98\x80 x");
    EXPECT_EQ(utf8DocumentText(utf16Bytes("", order), 1252), "");
  }
}

// Text mode applies to characters, not to the bytes of UTF-16: "业" (U+4E1A) holds a 0x1A byte,
// "ਊ" (U+0A0A) two line feed bytes, and "഍" (U+0D0D) carriage returns.
TEST(DocumentText, Utf16CharactersHoldingControlBytesStayWhole) {
  const std::string text = "\xE4\xB8\x9A \xE0\xA8\x8A \xE0\xB4\x8D\nend";
  for (const ByteOrder order : {ByteOrder::kLittleEndian, ByteOrder::kBigEndian}) {
    EXPECT_EQ(utf8DocumentText(utf16Bytes(text, order), 1252), text);
    // The end-of-text character itself still ends the text.
    EXPECT_EQ(utf8DocumentText(utf16Bytes("kept\x1A"
                                          "dropped",
                                          order),
                               1252),
              "kept");
  }
}

TEST(DocumentText, BrokenUtf16BecomesReplacementCharacters) {
  // A high surrogate without its low half, then an odd last byte.
  const std::string bytes = std::string("\xFF\xFE", 2) + std::string("a\0\x3D\xD8z\0", 6) + "!";
  EXPECT_EQ(utf8DocumentText(bytes, 1252),
            "a" + std::string(kReplacement) + "z" + std::string(kReplacement));
}

TEST(DocumentText, LegacyCodePageDecodesBeforeAnyParserSeesTheBytes) {
  EXPECT_EQ(utf8DocumentText(kCp932Note, 932), kUtf8Note);
  EXPECT_EQ(utf8DocumentText(withCrLf(kCp932Note), 932), kUtf8Note);
  // The end-of-text mark ends the text before it is decoded, and what follows decides nothing.
  EXPECT_EQ(utf8DocumentText(std::string(kUtf8Note) + "\x1A\x95\x5C", 932), kUtf8Note);
}

TEST(DocumentText, MarkedUtf8KeepsItsCharactersAndReplacesTheRest) {
  EXPECT_EQ(utf8DocumentText("\xEF\xBB\xBF"
                             "caf\xC3\xA9 \x95\x5C",
                             932),
            "\xEF\xBB\xBF"
            "caf\xC3\xA9 " +
                std::string(kReplacement) + "\\");
}

TEST(DocumentText, UndecodableBytesBecomeReplacementCharacters) {
  // A lead byte followed by a space, and one cut off by the end.
  EXPECT_EQ(utf8DocumentText("a\x81 b\x95", 932),
            "a" + std::string(kReplacement) + " b" + std::string(kReplacement));
}

}  // namespace
}  // namespace ondrel
