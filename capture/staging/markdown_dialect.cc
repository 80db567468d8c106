#include "capture/staging/markdown_dialect.h"

#include <string>

#include "capture/staging/drawing_assets.h"

#include "capture/staging/gfm_staging.h"

namespace ondrel {

namespace {

bool isGfm(WideView dialectName) { return equalsIgnoringAsciiCase(dialectName, u"GFM"); }

}  // namespace

MarkdownConverter markdownConverterFor(WideView dialectName, const WideString& stylePath,
                                       bool drawing) {
  if (!isGfm(dialectName)) return stagedPageText;
  // The style file and the assets are looked at when the page is staged,
  // inside the staging's guard, so that nothing they raise reaches the viewer.
  if (!drawing) {
    return [stylePath](const MarkdownDocument& document) {
      return gfmStagedPageText(document, gfmStyleSheet(stylePath));
    };
  }
  return [stylePath](const MarkdownDocument& document) {
    return gfmStagedPageText(document, gfmStyleSheet(stylePath), drawingAssetsBesideModule());
  };
}

bool drawsMarkdown(WideView dialectName, bool drawing) { return drawing && isGfm(dialectName); }

}  // namespace ondrel
