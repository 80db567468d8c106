// What the browser is shown for a Markdown document.

#include "capture/staging/markdown_staging.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(TextMode, ReadingJoinsCrLfAndStopsAtEndOfText) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\r\nb\r\n", "a\nb\n"},
      {"a\rb\r", "a\rb\r"},  // a lone carriage return stays
      {"a\r\r\nb", "a\r\nb"},
      {"before\x1A"
       "after",
       "before"},
      {"\x1A", ""},
      {std::string("nul\0inside", 10), std::string("nul\0inside", 10)},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(readAsText(bytes), text);
}

TEST(TextMode, WritingTurnsEveryLineFeedIntoCrLf) {
  EXPECT_EQ(writeAsText("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(writeAsText("a\rb"), "a\rb");
  EXPECT_EQ(writeAsText(""), "");
}

TEST(StagedPage, EmptyDocumentIsOneLineEnd) {
  EXPECT_EQ(stagedPageText({""}), "\r\n");
  EXPECT_EQ(stagedPageText({"\r\n\r\n"}), "\r\n");
}

TEST(StagedPage, CrLfDocumentsConvertLikeLfDocuments) {
  const std::string lf = "# Title\n\nSome *text*\nmore\n\n- a\n- b\n";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(stagedPageText({crlf}), stagedPageText({lf}));
  EXPECT_EQ(stagedPageText({lf}).find("<br>"), std::string::npos)
      << "no carriage return got through";
}

TEST(StagedPage, EndOfTextMarkEndsTheDocument) {
  EXPECT_EQ(stagedPageText({"first\n\x1Asecond\n"}), stagedPageText({"first\n"}));
}

TEST(StagedPage, RawHtmlPassesAndUnderscoresStay) {
  EXPECT_EQ(stagedPageText({"<div class=\"x\">\n\n"}), "<div class=\"x\">\r\n");
  EXPECT_EQ(stagedPageText({"snake_case_name *it*\n"}), "<p>snake_case_name <i>it</i> </p>\r\n");
}

TEST(StagedPage, LineFeedsInsideTheHtmlBecomeCrLf) {
  EXPECT_EQ(stagedPageText({"```\nint a;\n```\n"}), "<pre><code>\r\nint a;\r\n</code></pre>\r\n");
}

// The base line comes first and leaves every byte after it as it was without one.
TEST(StagedPage, DocumentInAFolderGetsItsBaseAsTheFirstLine) {
  for (const std::string document : {"", "# Title\r\n\r\n![shot](docs/shot.png)\r\n",
                                     "<img src=\"a b.png\">\n\n```\nx\n```\n"}) {
    EXPECT_EQ(stagedPageText({document, "file:///C:/My%20Notes/"}),
              "<base href=\"file:///C:/My%20Notes/\">\r\n" + stagedPageText({document}));
  }
}

TEST(StagedPage, BaseIsEscapedForItsAttribute) {
  EXPECT_EQ(stagedPageText({"", "file:///a\"b&c<d>/"}),
            "<base href=\"file:///a&quot;b&amp;c&lt;d&gt;/\">\r\n\r\n");
}

}  // namespace
}  // namespace ondrel
