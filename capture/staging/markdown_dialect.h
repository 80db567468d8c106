#ifndef ONDREL_CAPTURE_STAGING_MARKDOWN_DIALECT_H_
#define ONDREL_CAPTURE_STAGING_MARKDOWN_DIALECT_H_

#include "capture/staging/markdown_staging.h"
#include "text/wide_text.h"

namespace ondrel {

// The one place that picks how a Markdown document is staged, from the
// settings' dialect name and style file:
// - "GFM" in any letter case: GitHub-flavoured Markdown through cmark-gfm,
//   styled by the CSS file at `stylePath` or else the built-in style sheet
//   (capture/staging/gfm_staging.h), and with `drawing` its code, math and
//   diagrams drawn with the assets beside the module (drawing_assets.h);
// - anything else, empty included: the built-in converter (stagedPageText),
//   whose pages stay exactly as they always were; `stylePath` and `drawing`
//   are not used.
MarkdownConverter markdownConverterFor(WideView dialectName, const WideString& stylePath,
                                       bool drawing = false);

// Whether pages of that dialect are drawn with `drawing`, so that the engine
// waits for the drawing.
bool drawsMarkdown(WideView dialectName, bool drawing);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_MARKDOWN_DIALECT_H_
