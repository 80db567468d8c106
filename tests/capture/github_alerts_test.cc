// GitHub's alerts on cmark-gfm's node tree: which quotes become boxes, and what the boxes hold.

#include "capture/staging/gfm/github_alerts.h"

#include <gtest/gtest.h>

#include <string>

#include "capture/staging/gfm/gfm_html.h"

namespace ondrel {
namespace {

// The page body with alerts, each icon's drawing cut down to "<svg/>" so the cases show the
// markup around it.
std::string alerted(const std::string& markdown) {
  std::string html = gfmHtml(markdown, {.alerts = true});
  for (std::size_t start = html.find("<svg "); start != std::string::npos;
       start = html.find("<svg ", start + 1)) {
    const std::size_t end = html.find("</svg>", start);
    if (end == std::string::npos) break;
    html.replace(start, end + 6 - start, "<svg/>");
  }
  return html;
}

std::string plain(const std::string& markdown) { return gfmHtml(markdown); }

TEST(GithubAlerts, EachMarkerMakesABoxOfItsKindWithoutTheMarker) {
  const struct {
    const char* marker;
    const char* name;
    const char* title;
  } kinds[] = {{"[!NOTE]", "note", "Note"},
               {"[!tip]", "tip", "Tip"},
               {"[!Important]", "important", "Important"},
               {"[!WARNING]", "warning", "Warning"},
               {"[!cAuTiOn]", "caution", "Caution"}};
  for (const auto& kind : kinds) {
    EXPECT_EQ(alerted(std::string("> ") + kind.marker + "\n> Some *text*\n> on two lines.\n"),
              std::string("<div class=\"markdown-alert markdown-alert-") + kind.name +
                  "\">\n<p class=\"markdown-alert-title\"><svg/>" + kind.title +
                  "</p>\n<p>Some <em>text</em>\non two lines.</p>\n</div>\n")
        << kind.marker;
  }
}

TEST(GithubAlerts, IconIsDrawnInTheTitlesColour) {
  const std::string html = gfmHtml("> [!WARNING]\n> Careful.\n", {.alerts = true});
  const std::size_t icon = html.find("<svg class=\"markdown-alert-icon\"");
  ASSERT_NE(icon, std::string::npos) << html;
  EXPECT_NE(html.find("stroke=\"currentColor\"", icon), std::string::npos);
  EXPECT_LT(html.find("</svg>Warning</p>", icon), html.find("<p>Careful.</p>"));
}

TEST(GithubAlerts, BoxHoldsEveryBlockOfTheQuote) {
  EXPECT_EQ(alerted("> [!CAUTION]\n>\n> First.\n>\n> - a\n> - b\n>\n> ```\n> code\n> ```\n\n"
                    "After.\n"),
            "<div class=\"markdown-alert markdown-alert-caution\">\n"
            "<p class=\"markdown-alert-title\"><svg/>Caution</p>\n"
            "<p>First.</p>\n<ul>\n<li>a</li>\n<li>b</li>\n</ul>\n<pre><code>code\n</code></pre>\n"
            "</div>\n<p>After.</p>\n");
  // A hard line break after the marker, and a lazy continuation line, end the marker line too.
  EXPECT_EQ(alerted("> [!TIP]  \nlazy line\n"),
            "<div class=\"markdown-alert markdown-alert-tip\">\n"
            "<p class=\"markdown-alert-title\"><svg/>Tip</p>\n<p>lazy line</p>\n</div>\n");
}

TEST(GithubAlerts, OtherQuotesStayQuotes) {
  for (const std::string markdown : {
           "> [!NOTE] on the marker's line\n> more\n",
           "> [!NOTE]\n",           // nothing but the marker
           "> [!NOTES]\n> text\n",  // no such kind
           "> [ !NOTE]\n> text\n",
           "> text first\n> [!NOTE]\n",  // the marker must be the first line
           "> **[!NOTE]**\n> text\n",
           "- item\n\n  > [!NOTE]\n  > in a list\n",  // only the document's own quotes
           "> > [!NOTE]\n> > nested\n",
           "> # [!NOTE]\n> a heading\n",
           "[!note]: https://example.org\n\n> [!NOTE]\n> a link\n",
       }) {
    EXPECT_EQ(alerted(markdown), plain(markdown)) << markdown;
  }
}

TEST(GithubAlerts, OnlyTheMarkedQuotesChange) {
  EXPECT_EQ(alerted("> plain\n\n> [!NOTE]\n> boxed\n\n> also plain\n"),
            "<blockquote>\n<p>plain</p>\n</blockquote>\n"
            "<div class=\"markdown-alert markdown-alert-note\">\n"
            "<p class=\"markdown-alert-title\"><svg/>Note</p>\n<p>boxed</p>\n</div>\n"
            "<blockquote>\n<p>also plain</p>\n</blockquote>\n");
}

TEST(GithubAlerts, AreLeftAloneWithoutTheAddition) {
  EXPECT_EQ(plain("> [!NOTE]\n> text\n"), "<blockquote>\n<p>[!NOTE]\ntext</p>\n</blockquote>\n");
  EXPECT_EQ(gfmHtml("> [!NOTE]\n> text\n", {.frontMatter = true}), plain("> [!NOTE]\n> text\n"));
}

}  // namespace
}  // namespace ondrel
