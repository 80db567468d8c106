#include "capture/staging/markdown_dialect.h"

#include <string>

#include "capture/staging/gfm_staging.h"

namespace ondrel {

MarkdownConverter markdownConverterFor(WideView dialectName, const WideString& stylePath) {
  if (!equalsIgnoringAsciiCase(dialectName, u"GFM")) return stagedPageText;
  // The style file is read when the page is staged, inside the staging's
  // guard, so that nothing it raises reaches the viewer.
  return [stylePath](const MarkdownDocument& document) {
    return gfmStagedPageText(document, gfmStyleSheet(stylePath));
  };
}

}  // namespace ondrel
