#ifndef ONDREL_CAPTURE_STAGING_DRAWING_ASSETS_H_
#define ONDREL_CAPTURE_STAGING_DRAWING_ASSETS_H_

#include <optional>
#include <string>

#include "text/wide_text.h"

namespace ondrel {

// The folder beside the module that holds highlight.js, KaTeX and Mermaid,
// which the build copies there from their npm packages.
inline constexpr char16_t kDrawingAssetsFolder[] = u"ondrel-assets";

// Each asset's file, relative to that folder; the build copies exactly these
// (cmake/drawing_assets.cmake) and KaTeX's fonts beside its style sheet.
namespace asset {
inline constexpr char kHighlightScript[] = "highlight.js/highlight.min.js";
inline constexpr char kHighlightStyle[] = "highlight.js/github.min.css";
inline constexpr char kKatexScript[] = "katex/katex.min.js";
inline constexpr char kKatexStyle[] = "katex/katex.min.css";
inline constexpr char kMermaidScript[] = "mermaid/mermaid.min.js";
}  // namespace asset

// Which assets a page can load, and the file URL of their folder, ending in
// "/". A kind whose files are missing is not drawn: its text shows as it
// would without drawing.
struct DrawingAssets {
  std::string folderUrl;
  bool highlight = false;
  bool katex = false;
  bool mermaid = false;

  std::string url(const char* file) const { return folderUrl + file; }
};

// The assets in the folder `folder` (an absolute path); nothing when it makes
// no file URL.
std::optional<DrawingAssets> drawingAssetsIn(const WideString& folder);

// The assets in the folder kDrawingAssetsFolder beside the running module;
// nothing when the module's name is unknown.
std::optional<DrawingAssets> drawingAssetsBesideModule();

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_DRAWING_ASSETS_H_
