#ifndef ONDREL_CAPTURE_STAGING_GFM_GFM_HTML_H_
#define ONDREL_CAPTURE_STAGING_GFM_GFM_HTML_H_

#include <string>
#include <string_view>

namespace ondrel {

// What GitHub shows of a document beyond cmark-gfm's own HTML.
struct GithubAdditions {
  bool alerts = false;       // quotes marked [!NOTE] and its kin as boxes (github_alerts.h)
  bool frontMatter = false;  // a leading YAML block as a table (front_matter_table.h)
};

// Everything, as a staged page shows a document.
inline constexpr GithubAdditions kAllGithubAdditions{.alerts = true, .frontMatter = true};

// cmark-gfm's HTML for a GitHub-flavoured Markdown document (see GfmDocument), with `additions`
// on top; with none, byte for byte what the cmark-gfm command line writes. The document's bytes
// go in as they are; cmark-gfm reads them as UTF-8. Throws std::bad_alloc when memory runs
// out, std::length_error for a document larger than cmark-gfm can take.
std::string gfmHtml(std::string_view markdown, GithubAdditions additions = {});

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_GFM_HTML_H_
