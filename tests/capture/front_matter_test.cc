// Front matter: where the YAML block is, what its entries read as, and the table it becomes.

#include "capture/staging/gfm/front_matter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "capture/staging/gfm/gfm_html.h"

namespace ondrel {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(std::string_view document) {
  const std::optional<FrontMatter> frontMatter = splitFrontMatter(document);
  EXPECT_TRUE(frontMatter) << document;
  Entries entries;
  if (frontMatter) {
    for (const FrontMatterEntry& entry : frontMatter->entries) {
      entries.emplace_back(entry.key, entry.value);
    }
  }
  return entries;
}

TEST(FrontMatterBlock, RunsFromAFirstLineOfDashesToTheNextDashesOrDots) {
  const struct {
    std::string document;
    std::string rest;
  } blocks[] = {
      {"---\na: 1\n---\n# Title\n", "# Title\n"},
      {"---\na: 1\n...\nrest", "rest"},
      {"--- \t\na: 1\n---  \nrest", "rest"},
      {"---\r\na: 1\r\n---\r\nrest\r\n", "rest\r\n"},
      {"\xEF\xBB\xBF---\na: 1\n---\nrest", "rest"},
      {"---\na: 1\n---", ""},
      {"---\n---\nrest", "rest"},
      {"---\na: 1\n---\n---\nb: 2\n---\n", "---\nb: 2\n---\n"},
  };
  for (const auto& block : blocks) {
    const std::optional<FrontMatter> frontMatter = splitFrontMatter(block.document);
    ASSERT_TRUE(frontMatter) << block.document;
    EXPECT_EQ(frontMatter->rest, block.rest) << block.document;
  }
  for (const std::string document :
       {"", "---", "---\na: 1\n", "\n---\na: 1\n---\n", " ---\na: 1\n---\n", "----\na: 1\n---\n",
        "--- x\na: 1\n---\n", "***\na: 1\n***\n", "# ---\na: 1\n---\n"}) {
    EXPECT_FALSE(splitFrontMatter(document)) << document;
  }
}

TEST(FrontMatterEntries, ScalarsReadAsYamlReadsThem) {
  EXPECT_EQ(entriesOf("---\n"
                      "title: A plain title\n"
                      "double: \"Quoted: \\\"yes\\\" \\\\ done\"\n"
                      "single: 'It''s # not a comment'\n"
                      "comment: value # a comment\n"
                      "hash: C#  and more\n"
                      "url: https://example.org/a:b\n"
                      "\"quoted key\": 1\n"
                      "empty:\n"
                      "list: [a, b]\n"
                      "---\n"),
            (Entries{{"title", "A plain title"},
                     {"double", "Quoted: \"yes\" \\ done"},
                     {"single", "It's # not a comment"},
                     {"comment", "value"},
                     {"hash", "C#  and more"},
                     {"url", "https://example.org/a:b"},
                     {"quoted key", "1"},
                     {"empty", ""},
                     {"list", "[a, b]"}}));
}

TEST(FrontMatterEntries, NestedValuesAreTheirLinesAsWritten) {
  EXPECT_EQ(entriesOf("---\n"
                      "author:\n"
                      "  name: Ada\n"
                      "  links:\n"
                      "    - https://example.org\n"
                      "tags:\n"
                      "- one\n"
                      "- two\n"
                      "\n"
                      "# a comment of the mapping\n"
                      "after: x\n"
                      "---\n"),
            (Entries{{"author", "name: Ada\nlinks:\n  - https://example.org"},
                     {"tags", "- one\n- two"},
                     {"after", "x"}}));
}

TEST(FrontMatterEntries, BlockAndMultiLineScalars) {
  EXPECT_EQ(entriesOf("---\n"
                      "literal: |\n"
                      "  line one\n"
                      "    indented\n"
                      "\n"
                      "  line three\n"
                      "folded: >-\n"
                      "  one\n"
                      "  two\n"
                      "\n"
                      "  three\n"
                      "plain: starts here\n"
                      "  and runs on\n"
                      "---\n"),
            (Entries{{"literal", "line one\n  indented\n\nline three"},
                     {"folded", "one two\nthree"},
                     {"plain", "starts here and runs on"}}));
}

TEST(FrontMatterEntries, LinesOutsideAnyEntryAreKept) {
  EXPECT_EQ(entriesOf("---\n\nJust text\n- or a list\nkey: value\nnot a key\n---\n"),
            (Entries{{"", "Just text\n- or a list"}, {"key", "value not a key"}}));
  EXPECT_EQ(entriesOf(std::string("---\nk\0y: v\0w\n---\n", 17)),
            (Entries{{"k\xEF\xBF\xBDy", "v\xEF\xBF\xBDw"}}));
  EXPECT_EQ(entriesOf("---\n# only a comment\n\n---\n"), Entries{});
}

std::string withFrontMatter(const std::string& markdown) {
  return gfmHtml(markdown, {.frontMatter = true});
}

TEST(FrontMatterTable, KeysHeadTheTableAndValuesFollow) {
  EXPECT_EQ(withFrontMatter("---\ntitle: Notes & <b>tags</b>\nnested:\n  a: 1\n  b: 2\n---\n"
                            "# Heading\n"),
            "<div class=\"front-matter\">\n<table>\n<thead>\n<tr>\n"
            "<th>title</th>\n<th>nested</th>\n"
            "</tr>\n</thead>\n<tbody>\n<tr>\n"
            "<td>Notes &amp; &lt;b&gt;tags&lt;/b&gt;</td>\n<td>a: 1\nb: 2</td>\n"
            "</tr>\n</tbody>\n</table>\n</div>\n"
            "<h1>Heading</h1>\n");
}

TEST(FrontMatterTable, TheRestParsesAsIfTheBlockWereNotThere) {
  const std::string rest = "Title\n---\n\n[ref]: https://example.org\n\nSee [ref] and *this*.\n";
  const std::string html = withFrontMatter("---\nkey: value\n...\n" + rest);
  const std::string table = "</table>\n</div>\n";
  ASSERT_NE(html.find(table), std::string::npos) << html;
  EXPECT_EQ(html.substr(html.find(table) + table.size()), gfmHtml(rest));
  // Without keys there is no table, and the block still goes.
  EXPECT_EQ(withFrontMatter("---\n---\n" + rest), gfmHtml(rest));
}

TEST(FrontMatterTable, OnlyWithTheAddition) {
  const std::string document = "---\ntitle: x\n---\ntext\n";
  EXPECT_EQ(gfmHtml(document), "<hr />\n<h2>title: x</h2>\n<p>text</p>\n");
  EXPECT_EQ(gfmHtml(document, {.alerts = true}), gfmHtml(document));
  EXPECT_EQ(withFrontMatter("text\n\n---\ntitle: x\n---\n"),
            gfmHtml("text\n\n---\ntitle: x\n---\n"));
}

}  // namespace
}  // namespace ondrel
