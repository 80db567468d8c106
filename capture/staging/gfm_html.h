#ifndef ONDREL_CAPTURE_STAGING_GFM_HTML_H_
#define ONDREL_CAPTURE_STAGING_GFM_HTML_H_

#include <string>
#include <string_view>

namespace ondrel {

// md4c's HTML for a GitHub-flavoured Markdown document: md_html with the
// parser flags MD_DIALECT_GITHUB and renderer flags 0, byte for byte. The
// document's bytes go in as they are; md4c reads them as UTF-8. Throws
// std::bad_alloc when memory runs out, std::length_error for a document
// larger than md4c can take.
std::string gfmHtml(std::string_view markdown);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_HTML_H_
