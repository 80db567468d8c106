// cmark-gfm as every build links it (Debian's libraries natively, the static ones compiled from
// Debian's source in the Windows build): both must give these bytes, which are those of
// cmark-gfm 0.29.0.gfm.6 with GitHub's extensions.

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace {

std::string toHtml(std::string_view markdown, int options = CMARK_OPT_UNSAFE | CMARK_OPT_FOOTNOTES,
                   bool withExtensions = true) {
  cmark_gfm_core_extensions_ensure_registered();
  cmark_parser* parser = cmark_parser_new(options);
  if (withExtensions) {
    for (const char* name : {"table", "strikethrough", "autolink", "tasklist", "tagfilter"}) {
      cmark_syntax_extension* extension = cmark_find_syntax_extension(name);
      EXPECT_NE(extension, nullptr) << name;
      if (extension != nullptr) cmark_parser_attach_syntax_extension(parser, extension);
    }
  }
  cmark_parser_feed(parser, markdown.data(), markdown.size());
  cmark_node* document = cmark_parser_finish(parser);
  char* html = cmark_render_html(document, options, cmark_parser_get_syntax_extensions(parser));
  std::string text(html);
  std::free(html);
  cmark_node_free(document);
  cmark_parser_free(parser);
  return text;
}

TEST(CmarkGfm, IsTheVersionGithubRuns) {
  EXPECT_STREQ(cmark_version_string(), "0.29.0.gfm.6");
  EXPECT_EQ(cmark_version(), CMARK_GFM_VERSION);
}

TEST(CmarkGfm, PipeTableKeepsAlignmentEscapedPipesAndMissingCells) {
  EXPECT_EQ(toHtml("| Name | Count |\n"
                   "|:-----|------:|\n"
                   "| a | 1 |\n"
                   "| b \\| c |\n"),
            "<table>\n<thead>\n<tr>\n"
            "<th align=\"left\">Name</th>\n<th align=\"right\">Count</th>\n"
            "</tr>\n</thead>\n<tbody>\n<tr>\n"
            "<td align=\"left\">a</td>\n<td align=\"right\">1</td>\n"
            "</tr>\n<tr>\n"
            "<td align=\"left\">b | c</td>\n<td align=\"right\"></td>\n"
            "</tr>\n</tbody>\n</table>\n");
}

TEST(CmarkGfm, TaskListsStrikethroughAutolinksEntitiesAndUtf8) {
  EXPECT_EQ(toHtml("- [ ] open\n- [x] ~~done~~ ~~~not~~~\n"),
            "<ul>\n<li><input type=\"checkbox\" disabled=\"\" /> open</li>\n"
            "<li><input type=\"checkbox\" checked=\"\" disabled=\"\" /> <del>done</del> "
            "~~~not~~~</li>\n</ul>\n");
  // The entity table must be linked, and autolinks must find www. and mail addresses.
  EXPECT_EQ(toHtml("see www.example.com, me@example.net &copy; \xe6\xbc\xa2\xe5\xad\x97\n"),
            "<p>see <a href=\"http://www.example.com\">www.example.com</a>, "
            "<a href=\"mailto:me@example.net\">me@example.net</a> \xc2\xa9 "
            "\xe6\xbc\xa2\xe5\xad\x97</p>\n");
}

TEST(CmarkGfm, FootnotesBecomeASectionAtTheEnd) {
  EXPECT_EQ(toHtml("Text[^a].\n\n[^a]: The note.\n"),
            "<p>Text<sup class=\"footnote-ref\"><a href=\"#fn-a\" id=\"fnref-a\" "
            "data-footnote-ref>1</a></sup>.</p>\n"
            "<section class=\"footnotes\" data-footnotes>\n<ol>\n<li id=\"fn-a\">\n"
            "<p>The note. <a href=\"#fnref-a\" class=\"footnote-backref\" data-footnote-backref "
            "aria-label=\"Back to content\">\xe2\x86\xa9</a></p>\n</li>\n</ol>\n</section>\n");
  EXPECT_EQ(toHtml("Text[^a].\n\n[^a]: The note.\n", CMARK_OPT_UNSAFE),
            "<p>Text[^a].</p>\n<p>[^a]: The note.</p>\n");
}

TEST(CmarkGfm, TagfilterDisarmsScriptsButLetsOtherHtmlPass) {
  EXPECT_EQ(toHtml("<script>alert(1)</script>\n\n<b>bold</b> <iframe src=x>\n"),
            "&lt;script>alert(1)&lt;/script>\n<p><b>bold</b> &lt;iframe src=x></p>\n");
  EXPECT_EQ(toHtml("<script>alert(1)</script>\n", CMARK_OPT_UNSAFE, false),
            "<script>alert(1)</script>\n");
}

}  // namespace
