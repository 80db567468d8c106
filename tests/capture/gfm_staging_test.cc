// What the browser is shown for a GitHub-flavoured Markdown document, and how
// the settings' dialect name picks between that and the built-in staging.

#include "capture/staging/gfm_staging.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "capture/staging/gfm/gfm_html.h"
#include "capture/staging/gfm_style.h"
#include "capture/staging/markdown_dialect.h"
#include "capture/staging/markdown_staging.h"
#include "tests/support/scratch_folder.h"

namespace ondrel {
namespace {

constexpr std::string_view kHead = "<!DOCTYPE html>\r\n<meta charset=\"utf-8\">\r\n<style>\r\n";

// The page for `markdown` with a one-rule style sheet, less the head, so each
// case shows only cmark-gfm's body.
std::string bodyOf(std::string_view markdown) {
  const std::string page = gfmStagedPageText({markdown}, "p{}\n");
  const std::string start = std::string(kHead) + "p{}\r\n</style>\r\n";
  EXPECT_EQ(page.substr(0, start.size()), start);
  return page.substr(std::min(start.size(), page.size()));
}

TEST(GfmPage, IsAnHtml5DocumentWithTheStyleBeforeTheBody) {
  EXPECT_EQ(gfmStagedPageText({"# Title\n"}, "h1 { color: red; }\n"),
            "<!DOCTYPE html>\r\n"
            "<meta charset=\"utf-8\">\r\n"
            "<style>\r\n"
            "h1 { color: red; }\r\n"
            "</style>\r\n"
            "<h1>Title</h1>\r\n");
  // A style sheet without a last line end still closes on a line of its own.
  EXPECT_EQ(gfmStagedPageText({""}, "p{}"), std::string(kHead) + "p{}\r\n</style>\r\n");
  EXPECT_EQ(gfmStagedPageText({""}, ""), std::string(kHead) + "</style>\r\n");
}

TEST(GfmPage, EveryLineEndsInCrLf) {
  const std::string page = gfmStagedPageText({"a\n\n```\nx\n\ny\n```\n"}, builtInGfmStyle());
  for (std::size_t at = page.find('\n'); at != std::string::npos; at = page.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    EXPECT_EQ(page[at - 1], '\r') << "bare line feed at " << at;
  }
  EXPECT_EQ(page.find("\r\r"), std::string::npos);
}

TEST(GfmPage, DocumentIsReadInTextMode) {
  const std::string lf = "# Title\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n```\ncode\n```\n";
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(gfmStagedPageText({crlf}, "p{}"), gfmStagedPageText({lf}, "p{}"));
  EXPECT_EQ(gfmStagedPageText({"kept\n\x1A"
                               "dropped\n"},
                              "p{}"),
            gfmStagedPageText({"kept\n"}, "p{}"));
}

// The base comes after the character set, which must stay in the page's first bytes, and before
// the style sheet, whose relative URLs resolve against it too.
TEST(GfmPage, DocumentInAFolderGetsItsBaseInTheHead) {
  EXPECT_EQ(gfmStagedPageText({"![shot](docs/shot.png)\n", "file:///C:/My%20Notes/"}, "p{}"),
            "<!DOCTYPE html>\r\n"
            "<meta charset=\"utf-8\">\r\n"
            "<base href=\"file:///C:/My%20Notes/\">\r\n"
            "<style>\r\n"
            "p{}\r\n"
            "</style>\r\n"
            "<p><img src=\"docs/shot.png\" alt=\"shot\" /></p>\r\n");
  EXPECT_EQ(gfmStagedPageText({"", "file:///a\"&/"}, ""),
            "<!DOCTYPE html>\r\n<meta charset=\"utf-8\">\r\n<base href=\"file:///a&quot;&amp;/\">"
            "\r\n<style>\r\n</style>\r\n");
}

// A CP932 table whose cells end in characters with 0x5C and 0x7C second bytes: read as bytes it
// would lose a cell to an escaped "|".
TEST(GfmPage, LegacyDocumentsReachTheParserAsUtf8) {
  const std::string utf8 = "|\xE8\xA1\xA8|\xE3\x83\x9D|x|\r\n|---|---|---|\r\n|a|b|c|\r\n";
  const std::string cp932 = "|\x95\x5C|\x83\x7C|x|\r\n|---|---|---|\r\n|a|b|c|\r\n";
  const std::string page = gfmStagedPageText({utf8}, "p{}");
  EXPECT_EQ(gfmStagedPageText({cp932, std::nullopt, 932}, "p{}"), page);
  EXPECT_NE(page.find("<th>\xE8\xA1\xA8</th>\r\n<th>\xE3\x83\x9D</th>\r\n<th>x</th>"),
            std::string::npos);
  // UTF-16 behind its byte-order mark, whatever the code page says.
  const std::string utf16(std::string_view("\xFF\xFE#\0 \0A\0", 8));
  EXPECT_EQ(gfmStagedPageText({utf16, std::nullopt, 932}, ""), gfmStagedPageText({"# A"}, ""));
}

// cmark-gfm's HTML with GitHub's extensions, as the cmark-gfm program writes it.
TEST(GfmBody, BlocksOfGithubsExtensions) {
  EXPECT_EQ(bodyOf("| Left | Centre | Right | None |\n"
                   "|:---|:---:|---:|---|\n"
                   "| a | b | c | d |\n"),
            "<table>\r\n<thead>\r\n<tr>\r\n"
            "<th align=\"left\">Left</th>\r\n<th align=\"center\">Centre</th>\r\n"
            "<th align=\"right\">Right</th>\r\n<th>None</th>\r\n"
            "</tr>\r\n</thead>\r\n<tbody>\r\n<tr>\r\n"
            "<td align=\"left\">a</td>\r\n<td align=\"center\">b</td>\r\n"
            "<td align=\"right\">c</td>\r\n<td>d</td>\r\n"
            "</tr>\r\n</tbody>\r\n</table>\r\n");
  EXPECT_EQ(bodyOf("- [ ] open\n- [x] done\n"),
            "<ul>\r\n"
            "<li><input type=\"checkbox\" disabled=\"\" /> open</li>\r\n"
            "<li><input type=\"checkbox\" checked=\"\" disabled=\"\" /> done</li>\r\n"
            "</ul>\r\n");
  EXPECT_EQ(bodyOf("```cpp title\nint a = 1 < 2;\n```\n"),
            "<pre><code class=\"language-cpp\">int a = 1 &lt; 2;\r\n</code></pre>\r\n");
  EXPECT_EQ(bodyOf("1. one\n   - two\n     1. three\n2. four\n"),
            "<ol>\r\n<li>one\r\n<ul>\r\n<li>two\r\n<ol>\r\n<li>three</li>\r\n</ol>\r\n"
            "</li>\r\n</ul>\r\n</li>\r\n<li>four</li>\r\n</ol>\r\n");
  EXPECT_EQ(bodyOf("> quoted\n> still quoted\n\nafter\n"),
            "<blockquote>\r\n<p>quoted\r\nstill quoted</p>\r\n</blockquote>\r\n<p>after</p>\r\n");
}

TEST(GfmBody, InlinesOfGithubsExtensions) {
  EXPECT_EQ(bodyOf("~~gone~~ and ~also~\n"), "<p><del>gone</del> and <del>also</del></p>\r\n");
  EXPECT_EQ(bodyOf("Visit https://example.com/a?b=1, www.example.org or me@example.net.\n"),
            "<p>Visit <a href=\"https://example.com/a?b=1\">https://example.com/a?b=1</a>, "
            "<a href=\"http://www.example.org\">www.example.org</a> or "
            "<a href=\"mailto:me@example.net\">me@example.net</a>.</p>\r\n");
  EXPECT_EQ(bodyOf("***both*** and *em **strong in em** em*\n"),
            "<p><em><strong>both</strong></em> and "
            "<em>em <strong>strong in em</strong> em</em></p>\r\n");
  EXPECT_EQ(bodyOf("See [the docs][Docs] and [docs].\n\n[docs]: https://example.org/d \"Title\"\n"),
            "<p>See <a href=\"https://example.org/d\" title=\"Title\">the docs</a> and "
            "<a href=\"https://example.org/d\" title=\"Title\">docs</a>.</p>\r\n");
  EXPECT_EQ(bodyOf("line  \nbreak \xe6\x97\xa5\xe6\x9c\xac &copy;\n"),
            "<p>line<br />\r\nbreak \xe6\x97\xa5\xe6\x9c\xac \xc2\xa9</p>\r\n");
}

// A Markdown file is no place for scripts: GitHub disarms the tags that could run or restyle
// anything, and the page does too.
TEST(GfmBody, TagfilterDisarmsScriptsFramesAndStyles) {
  EXPECT_EQ(
      bodyOf("<script>document.body.remove()</script>\n\n"
             "<p>a <style>p{}</style> <iframe src=\"x\"></iframe> <title>t</title> "
             "<textarea></textarea> <xmp> <noembed> <noframes> <plaintext> b</p>\n"),
      "&lt;script>document.body.remove()&lt;/script>\r\n"
      "<p>a &lt;style>p{}&lt;/style> &lt;iframe src=\"x\">&lt;/iframe> &lt;title>t&lt;/title> "
      "&lt;textarea>&lt;/textarea> &lt;xmp> &lt;noembed> &lt;noframes> &lt;plaintext> b</p>\r\n");
}

TEST(GfmBody, RawHtmlPassesThrough) {
  EXPECT_EQ(bodyOf("<div class=\"x\">\n<b>raw</b>\n</div>\n\ntext <kbd>Ctrl</kbd> &amp; more\n"),
            "<div class=\"x\">\r\n<b>raw</b>\r\n</div>\r\n"
            "<p>text <kbd>Ctrl</kbd> &amp; more</p>\r\n");
}

TEST(GfmBody, IsCmarkGfmsHtmlOfTheTextModeDocumentWithGithubsAdditions) {
  const std::string document =
      "---\r\na: b\r\n---\r\n# A\r\n\r\n* b\r\n* [c](d)\r\n\r\n"
      "> [!NOTE]\r\n> e\r\n";
  EXPECT_EQ(bodyOf(document), writeAsText(gfmHtml(readAsText(document), kAllGithubAdditions)));
  EXPECT_NE(bodyOf(document), writeAsText(gfmHtml(readAsText(document))));
}

// The look that the page promises: each rule it depends on is in the sheet.
TEST(GfmStyle, BuiltInSheetStylesWhatGithubDocumentsShow) {
  const std::string_view style = builtInGfmStyle();
  for (const char* rule :
       {"sans-serif", "h1, h2 { padding-bottom: 0.3em; border-bottom", "th, td {",
        "thead tr { background", "monospace", "pre { padding", "input[type=\"checkbox\"]",
        "blockquote {", "border-left", "img { max-width: 100%", "section.footnotes {",
        "[data-footnote-ref]::before", ".markdown-alert-note { border-left-color: #0969da",
        ".markdown-alert-caution .markdown-alert-title { color: #d1242f", ".front-matter td"}) {
    EXPECT_NE(style.find(rule), std::string_view::npos) << rule;
  }
  EXPECT_EQ(style.find('\r'), std::string_view::npos);
  EXPECT_EQ(style.find("</style"), std::string_view::npos);
}

class GfmStyleFile : public ::testing::Test {
 protected:
  WideString write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path file = scratch_.path() / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.u16string();
  }

  WideString missing() const { return (scratch_.path() / "missing.css").u16string(); }
  WideString folder() const { return scratch_.path().u16string(); }

  test::ScratchFolder scratch_;
};

TEST_F(GfmStyleFile, ReplacesTheBuiltInSheetInTextMode) {
  EXPECT_EQ(gfmStyleSheet(write("plain.css", "h1 { color: red; }\r\np { }\r\n")),
            "h1 { color: red; }\np { }\n");
  EXPECT_EQ(gfmStyleSheet(write("marked.css",
                                "\xEF\xBB\xBF"
                                "body { }\n")),
            "body { }\n");
  EXPECT_EQ(gfmStyleSheet(write("empty.css", "")), "");
}

TEST_F(GfmStyleFile, UnreadableFilesFallBackToTheBuiltInSheet) {
  for (const WideString& path : {WideString(), missing(), folder()}) {
    EXPECT_EQ(gfmStyleSheet(path), builtInGfmStyle()) << wideToUtf8(path);
  }
}

TEST_F(GfmStyleFile, DialectNameChoosesTheStaging) {
  const WideString style = write("mine.css", "p { color: green; }\n");
  const std::string document = "# Title\r\n\r\n| a |\r\n|---|\r\n| b |\r\n";
  const std::string github = gfmStagedPageText({document}, "p { color: green; }\n");
  for (const WideString name : {u"GFM", u"gfm", u"Gfm"}) {
    EXPECT_EQ(markdownConverterFor(name, style)({document}), github) << wideToUtf8(name);
  }
  EXPECT_EQ(markdownConverterFor(u"gfm", missing())({document}),
            gfmStagedPageText({document}, builtInGfmStyle()));
  EXPECT_EQ(markdownConverterFor(u"GFM", WideString())({document}),
            gfmStagedPageText({document}, builtInGfmStyle()));
  for (const WideString name : {u"", u"builtin", u"GFM ", u" gfm", u"gfm2", u"commonmark"}) {
    EXPECT_EQ(markdownConverterFor(name, style)({document}), stagedPageText({document}))
        << wideToUtf8(name);
  }
}

}  // namespace
}  // namespace ondrel
