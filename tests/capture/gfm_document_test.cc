// cmark-gfm as the GitHub-flavoured staging sets it up: GitHub's options and extensions, and the
// memory it parses in, which must turn a failed allocation into an exception, never end the
// process, and keep no block once a conversion is over.

#include "capture/staging/gfm/gfm_document.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "capture/staging/gfm/parser_memory.h"
#include "capture/staging/gfm/front_matter.h"
#include "capture/staging/gfm/front_matter_table.h"
#include "capture/staging/gfm/gfm_html.h"
#include "capture/staging/gfm/github_alerts.h"

namespace ondrel {
namespace {

// Every extension and option the staging sets, and what GitHub adds.
constexpr std::string_view kEveryKind =
    "---\n"
    "title: Every kind\n"
    "tags: [a, b]\n"
    "---\n"
    "| a | b |\n|:--|--:|\n| ~~x~~ | www.example.org |\n\n"
    "- [x] done[^n]\n\n"
    "<script>alert(1)</script>\n\n"
    "> [!IMPORTANT]\n> Read <kbd>this</kbd>.\n\n"
    "[^n]: The note.\n";

TEST(GfmDocument, ParsesWithGithubsExtensionsAndOptions) {
  CmarkMemory memory;
  const GfmDocument document(kEveryKind, memory);
  EXPECT_EQ(document.html(),
            "<hr />\n<h2>title: Every kind\ntags: [a, b]</h2>\n"
            "<table>\n<thead>\n<tr>\n<th align=\"left\">a</th>\n<th align=\"right\">b</th>\n"
            "</tr>\n</thead>\n<tbody>\n<tr>\n<td align=\"left\"><del>x</del></td>\n"
            "<td align=\"right\"><a href=\"http://www.example.org\">www.example.org</a></td>\n"
            "</tr>\n</tbody>\n</table>\n"
            "<ul>\n<li><input type=\"checkbox\" checked=\"\" disabled=\"\" /> done"
            "<sup class=\"footnote-ref\"><a href=\"#fn-n\" id=\"fnref-n\" data-footnote-ref>1</a>"
            "</sup></li>\n</ul>\n"
            "&lt;script>alert(1)&lt;/script>\n"
            "<blockquote>\n<p>[!IMPORTANT]\nRead <kbd>this</kbd>.</p>\n</blockquote>\n"
            "<section class=\"footnotes\" data-footnotes>\n<ol>\n<li id=\"fn-n\">\n"
            "<p>The note. <a href=\"#fnref-n\" class=\"footnote-backref\" data-footnote-backref "
            "aria-label=\"Back to content\">\xe2\x86\xa9</a></p>\n</li>\n</ol>\n</section>\n");
}

TEST(CmarkMemory, AConversionGivesBackEveryBlock) {
  CmarkMemory memory;
  {
    const std::optional<FrontMatter> frontMatter = splitFrontMatter(kEveryKind);
    ASSERT_TRUE(frontMatter);
    const GfmDocument document(frontMatter->rest, memory);
    insertFrontMatterTable(document, frontMatter->entries);
    makeGithubAlerts(document);
    const std::string html = document.html();
    EXPECT_NE(html.find("<th>tags</th>"), std::string::npos) << html;
    EXPECT_NE(html.find("markdown-alert-important"), std::string::npos) << html;
    EXPECT_GT(memory.blocksHeld(), 0u);
  }
  EXPECT_EQ(memory.blocksHeld(), 0u);
}

// A budget too small for the document fails the conversion at every point it can fail: while
// the parser is made, while blocks and inlines are parsed, while the tree is changed, while it
// is rendered. Each failure is std::bad_alloc, thrown through cmark-gfm's own frames, and leaves
// the parser free for the next document.
TEST(CmarkMemory, RunningOutOfTheBudgetThrowsWherever) {
  std::string markdown;
  for (int i = 0; i < 20; ++i) markdown += kEveryKind.substr(kEveryKind.find("| a"));
  const auto convert = [&](std::size_t budget) {
    CmarkMemory memory(budget);
    const GfmDocument document(markdown, memory);
    makeGithubAlerts(document);
    return document.html();
  };
  const std::string expected = convert(CmarkMemory::kUnlimited);
  int failures = 0;
  for (std::size_t budget = 0;; budget += budget / 8 + 64) {
    try {
      ASSERT_EQ(convert(budget), expected) << "budget " << budget;
      break;
    } catch (const std::bad_alloc&) {
      ++failures;
    }
  }
  EXPECT_GT(failures, 20);
}

TEST(CmarkMemory, DocumentsLargerThanItCanTakeAreRefused) {
  const std::string huge(CmarkMemory::kLargestDocument + 1, 'a');
  EXPECT_THROW(gfmHtml(huge), std::length_error);
}

}  // namespace
}  // namespace ondrel
