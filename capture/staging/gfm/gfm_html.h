#ifndef ONDREL_CAPTURE_STAGING_GFM_GFM_HTML_H_
#define ONDREL_CAPTURE_STAGING_GFM_GFM_HTML_H_

#include <string>
#include <string_view>

#include "capture/staging/gfm/drawing_needs.h"

namespace ondrel {

// What GitHub shows of a document beyond cmark-gfm's own HTML.
struct GithubAdditions {
  bool alerts = false;       // quotes marked [!NOTE] and its kin as boxes (github_alerts.h)
  bool frontMatter = false;  // a leading YAML block as a table (front_matter_table.h)
  bool math = false;         // "$...$" and "$$...$$" as math spans (math_syntax.h)
};

// Alerts and front matter, as a staged page shows a document.
inline constexpr GithubAdditions kAllGithubAdditions{.alerts = true, .frontMatter = true};

// Everything, math included, as a page that draws code, math and diagrams shows a document.
inline constexpr GithubAdditions kDrawnGithubAdditions{
    .alerts = true, .frontMatter = true, .math = true};

// A document's HTML and what its page must draw.
struct GfmBody {
  std::string html;
  DrawingNeeds needs;
};

// cmark-gfm's HTML for a GitHub-flavoured Markdown document (see GfmDocument), with `additions`
// on top; with none, byte for byte what the cmark-gfm command line writes. The document's bytes
// go in as they are; cmark-gfm reads them as UTF-8. Throws std::bad_alloc when memory runs
// out, std::length_error for a document larger than cmark-gfm can take.
GfmBody gfmBody(std::string_view markdown, GithubAdditions additions = {});

// The HTML alone.
inline std::string gfmHtml(std::string_view markdown, GithubAdditions additions = {}) {
  return gfmBody(markdown, additions).html;
}

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_GFM_HTML_H_
