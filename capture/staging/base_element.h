#ifndef ONDREL_CAPTURE_STAGING_BASE_ELEMENT_H_
#define ONDREL_CAPTURE_STAGING_BASE_ELEMENT_H_

#include <optional>
#include <string>

namespace ondrel {

// `<base href="URL">` and a line feed, the URL escaped for a quoted
// attribute: the line that makes a staged page's relative links resolve
// against the document's folder instead of the capture folder the page is
// staged in. Empty for a document in no folder.
std::string baseLineFor(const std::optional<std::string>& folderUrl);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_BASE_ELEMENT_H_
