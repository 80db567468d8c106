// The kind of a page handed over in memory, told from its bytes alone.

#include "capture/page_kind_sniffing.h"

#include <gtest/gtest.h>

#include <string>

namespace ondrel {
namespace {

std::optional<PageKind> sniff(const std::string& bytes) {
  return sniffPageKind(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// The text in UTF-16, each character taken as one unit, after the order's mark.
std::string utf16(const std::string& text, bool littleEndian) {
  std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char c : text) {
    bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
  }
  return bytes;
}

TEST(PageKindSniffing, HtmlBeginsWithItsDoctypeOrOneOfItsOuterTags) {
  for (const std::string page : {
           "<!DOCTYPE html><p>x",
           "<!doctype HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">",
           "\r\n\t <html lang=\"en\">",
           "<HTML>",
           "<head><title>t</title>",
           "<body style=\"margin:0\">seed:3",
           "<body>",
           "<!-- saved from a web site --><html>",
           "<?xml version=\"1.0\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html>",
           "\xEF\xBB\xBF<!DOCTYPE html>",
       }) {
    EXPECT_EQ(sniff(page), PageKind::kHtml) << page;
  }
}

TEST(PageKindSniffing, SvgIsARootSvgElementAfterTheXmlPrologue) {
  for (const std::string drawing : {
           "<svg xmlns=\"http://www.w3.org/2000/svg\"/>",
           "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg width=\"10\">",
           "<!-- Created with a drawing program -->\n<!-- second comment -->\n<svg>",
           "<?xml version=\"1.0\"?><?xml-stylesheet href=\"s.css\"?><svg>",
           "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
           "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n<svg>",
           // An internal subset whose entity and comment hold '>' and ']'.
           "<!DOCTYPE svg [ <!ENTITY a \"x > ] y\"> <!-- ]> --> ]>\n<svg width=\"&a;\">",
           "<svg:svg xmlns:svg=\"http://www.w3.org/2000/svg\">",
           "\xEF\xBB\xBF  <svg>",
       }) {
    EXPECT_EQ(sniff(drawing), PageKind::kSvgDrawing) << drawing;
  }
}

TEST(PageKindSniffing, OtherTextIsMarkdown) {
  for (const std::string document : {
           "# Notes\r\n\r\nSome *text*.",
           "<div align=\"center\">\n\n# A README\n</div>",
           "<!-- a comment -->\n# Heading",
           "<svgs>not a drawing</svgs>",
           "<htmlish>",
           "<SVG>not a drawing: XML names keep their case</SVG>",
           "<!-- never closed",
           "<!DOCTYPE svg [ never closed",
           "",
           "caf\xC3\xA9 and \xE6\x97\xA5\xE6\x9C\xAC",
       }) {
    EXPECT_EQ(sniff(document), PageKind::kMarkdown) << document;
  }
}

TEST(PageKindSniffing, ANulAmongTheFirstBytesIsNoText) {
  EXPECT_EQ(sniff(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)), std::nullopt);
  EXPECT_EQ(sniff("PK\x03\x04" + std::string(40, '\0')), std::nullopt);
  const std::string text(kTextTestBytes - 1, 'a');
  EXPECT_EQ(sniff(text + '\0'), std::nullopt);
  EXPECT_EQ(sniff(text + "a" + '\0'), PageKind::kMarkdown) << "a NUL after the tested bytes";
  // Markup decides before the text test: a page may hold a NUL.
  EXPECT_EQ(sniff(std::string("<html>\0", 7)), PageKind::kHtml);
  // UTF-16 without its mark reads as text with NULs.
  EXPECT_EQ(sniff(std::string("#\0 \0N\0", 6)), std::nullopt);
}

TEST(PageKindSniffing, Utf16InEitherOrderIsReadByItsMark) {
  for (const bool little : {true, false}) {
    EXPECT_EQ(sniff(utf16("<!DOCTYPE html><p>x</p>", little)), PageKind::kHtml) << little;
    EXPECT_EQ(sniff(utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<svg/>", little)),
              PageKind::kSvgDrawing)
        << little;
    EXPECT_EQ(sniff(utf16("# Notes\r\n", little)), PageKind::kMarkdown) << little;
    EXPECT_EQ(sniff(utf16(std::string("a\0b", 3), little)), std::nullopt) << little;
  }
  // A character outside ASCII is neither markup nor white space.
  EXPECT_EQ(sniff(std::string("\xFF\xFE\x00\x30<\0h\0t\0m\0l\0>\0", 16)), PageKind::kMarkdown);
}

}  // namespace
}  // namespace ondrel
