#ifndef ONDREL_CAPTURE_STAGING_DRAWING_PAGE_H_
#define ONDREL_CAPTURE_STAGING_DRAWING_PAGE_H_

#include <string>
#include <string_view>

#include "capture/staging/drawing_assets.h"
#include "capture/staging/gfm/drawing_needs.h"

namespace ondrel {

// What a page that draws its document's code, math and diagrams adds to a
// GitHub-flavoured page (capture/staging/drawing_style.css and
// drawing_script.js, compiled in).
std::string_view drawingStyle();
std::string_view drawingScript();

// What `needs` asks for of what `assets` has: the needs a page can meet.
DrawingNeeds drawableNeeds(DrawingNeeds needs, const DrawingAssets& assets);

// The head's lines for `needs`, which the assets must meet: the style sheets
// and the scripts of each kind, loaded in order before the body is read, and
// the drawing's own style. Empty when nothing needs drawing, so that a plain
// document's page loads nothing more.
std::string drawingHead(DrawingNeeds needs, const DrawingAssets& assets);

// The line after the body that draws it; empty when nothing needs drawing.
std::string drawingTail(DrawingNeeds needs);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_DRAWING_PAGE_H_
