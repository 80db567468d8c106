// Whole documents that mix block kinds and nest them.

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "markdown/parser_config.h"
#include "tests/markdown/conversion.h"

namespace markdown {
namespace {

using test_support::convertLines;

TEST(DocumentTest, MixesAndNestsBlockKinds) {
  const std::string html = convertLines({
      "# Notes",
      "Intro with **bold** and a [link](http://x).",
      "",
      "- item *one*",
      "  1. sub `code`",
      "- item two",
      "",
      "> quoted",
      ">",
      "> - a",
      ">   - b",
      "",
      "",
      "|table>",
      "Name|Value",
      "- | - | -",
      "a|1",
      "|<table",
      "```cpp",
      "int *p = *q;",
      "```",
      "---",
      "done",
  });
  EXPECT_EQ(html,
            "<h1>Notes</h1>"
            "<p>Intro with <strong>bold</strong> and a <a href=\"http://x\">link</a>. </p>"
            "<ul><li>item <i>one</i><ol><li>sub <code>code</code></li></ol></li>"
            "<li>item two</li></ul>"
            "<blockquote><p>quoted  </p><ul><li>a <ul><li>b </li></ul></li></ul></blockquote>"
            "<table><thead><tr><th>Name</th><th>Value</th></tr></thead>"
            "<tbody><tr><td>a</td><td>1</td></tr></tbody></table>"
            "<pre class=\"cpp\"><code>\nint *p = *q;\n</code></pre>"
            "<hr/>"
            "<p>done </p>");
}

TEST(DocumentTest, StagingMaskPassesHtmlAndKeepsUnderscores) {
  // The mask that the README and ondrel-md's usage text name.
  ASSERT_EQ(kStagingParserMask, 0x3FFF7u);
  const std::string html = convertLines({"<div class=\"note\">", "**not formatted**", "</div>", "",
                                         "snake_case stays", "$$ not latex $$"},
                                        kStagingParserMask);
  EXPECT_EQ(html,
            "<div class=\"note\">**not formatted** </div>"
            "<p>snake_case stays $$ not latex $$ </p>");
}

TEST(DocumentTest, QuoteHoldsEveryKindItCanReach) {
  const std::string html = convertLines(
      {"> # Head", "> text", "> ", "> 1. one", "> 2. two", ">", ">> inner", "", "", "", "after"},
      kDefaultParserMask | ENABLE_LATEX_BLOCK);
  EXPECT_EQ(html,
            "<blockquote><h1>Head </h1><p>text  </p><ol><li>one </li><li>two </li></ol>"
            "<blockquote><p>inner   </p></blockquote></blockquote><p>after </p>");
}

}  // namespace
}  // namespace markdown
