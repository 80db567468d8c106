#ifndef ONDREL_CAPTURE_CAPTURE_REQUEST_H_
#define ONDREL_CAPTURE_CAPTURE_REQUEST_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_codec.h"
#include "text/wide_text.h"

namespace ondrel {

// How the browser is driven: started once with "--screenshot" for each
// picture, or over the DevTools protocol (docs/devtools-engine.md).
enum class CaptureEngine { kScreenshotSwitch, kDevTools };

// Whether the process that starts the browser runs fully elevated. Such a
// browser would start an unelevated copy of itself and end at once, and the
// copy would write the screenshot long after the capture gave up, unless it
// is told to stay as it was started.
enum class Elevation { kNone, kFull };

// What a Markdown staging is given of a document.
struct MarkdownDocument {
  std::string_view bytes;
  // The file URL of the folder that holds the document, ending in "/", which
  // its relative links and pictures resolve against; none for a document
  // that lives in no folder, such as one handed over in memory.
  std::optional<std::string> folderUrl = std::nullopt;
  // The Windows code page (932, 1252, ...) of a document that is neither
  // UTF-8 nor UTF-16 with a byte-order mark, for a staging that decodes it.
  std::uint32_t codePage = platform::kAnsiCodePage;
};

// Turns a Markdown document into the bytes of the page to stage. An empty
// one stands for the built-in converter.
using MarkdownConverter = std::function<std::string(const MarkdownDocument& document)>;

// What only the DevTools engine reads.
struct DevToolsOptions {
  // The picture is as tall as the page's content, at most `tallestPage`
  // rows, instead of the capture height.
  bool fullPage = false;
  std::int32_t tallestPage = 0;
  // Idle seconds the browser is kept for the next picture
  // (docs/warm-browser.md); 0 closes it with the picture.
  std::int32_t keepBrowserSeconds = 0;
  // The page may load file: and data: resources only.
  bool blockNetwork = false;
};

// One picture as the settings ask for it, whichever engine takes it.
struct CaptureRequest {
  CaptureEngine engine = CaptureEngine::kScreenshotSwitch;
  WideString browserPath;  // known to exist
  WideString pagePath;     // the viewer's file name
  std::int32_t captureWidth = 0;
  std::int32_t captureHeight = 0;
  bool showScrollbars = false;
  std::int32_t waitSeconds = 5;  // 0: no limit
  // The caller's process, which the browser's command line must reckon with.
  Elevation elevation = Elevation::kNone;
  // Makes the staged page of a Markdown document.
  MarkdownConverter convertMarkdown;
  // The code page the converter is told a legacy-encoded document is in.
  std::uint32_t markdownCodePage = platform::kAnsiCodePage;
  DevToolsOptions devTools;
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_CAPTURE_REQUEST_H_
