#ifndef ONDREL_CAPTURE_CAPTURE_REQUEST_H_
#define ONDREL_CAPTURE_CAPTURE_REQUEST_H_

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "capture/capture_report.h"
#include "platform/text_codec.h"
#include "text/wide_text.h"

namespace ondrel {

// How the browser is driven: started once with "--screenshot" for each
// picture, or over the DevTools protocol (docs/devtools-engine.md).
enum class CaptureEngine { kScreenshotSwitch, kDevTools };

// The engine's name as the user reads it.
constexpr const char* engineName(CaptureEngine engine) {
  return engine == CaptureEngine::kDevTools ? "DevTools" : "one-shot";
}

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

// The device pixels that `cssPixels` CSS pixels take at `deviceScale`,
// rounded half away from zero as Chromium sizes its screenshots, and held
// within the 32-bit range.
inline std::int32_t devicePixels(std::int32_t cssPixels, double deviceScale) {
  using Limits = std::numeric_limits<std::int32_t>;
  const double scaled = std::round(double(cssPixels) * deviceScale);
  if (scaled >= double(Limits::max())) return Limits::max();
  if (scaled <= double(Limits::min())) return Limits::min();
  return std::int32_t(scaled);
}

// What only the DevTools engine reads.
struct DevToolsOptions {
  // The picture is as tall as the page's content, at most `tallestPage`
  // rows of the picture (device pixels), instead of the capture height.
  bool fullPage = false;
  std::int32_t tallestPage = 0;
  // Idle seconds the browser is kept for the next picture
  // (docs/warm-browser.md); 0 closes it with the picture.
  std::int32_t keepBrowserSeconds = 0;
  // How many pictures the kept browser draws at once, each in a page of its
  // own; the others wait their turn.
  std::int32_t parallelPictures = 2;
  // The page may load file: and data: resources only.
  bool blockNetwork = false;
  // The staged page draws its code, math or diagrams after it has loaded:
  // its promise window.ondrelDrawing is awaited before the page is measured
  // and photographed.
  bool awaitDrawing = false;
};

// One picture as the settings ask for it, whichever engine takes it.
struct CaptureRequest {
  CaptureEngine engine = CaptureEngine::kScreenshotSwitch;
  WideString browserPath;  // known to exist
  // The viewer's file name; for a memory image a name of its kind that
  // names no file.
  WideString pagePath;
  // The page's bytes when the viewer handed them over in memory: they are
  // staged as a page of pagePath's kind, in no folder of the viewer's.
  std::optional<std::span<const std::uint8_t>> memoryImage;
  // The window or viewport, in CSS pixels.
  std::int32_t captureWidth = 0;
  std::int32_t captureHeight = 0;
  // The device pixels a CSS pixel takes, 1 to 4: the page is drawn at that
  // density, and the picture is the capture size scaled by it.
  double deviceScale = 1.0;
  bool showScrollbars = false;
  std::int32_t waitSeconds = 5;  // 0: no limit
  // The caller's process, which the browser's command line must reckon with.
  Elevation elevation = Elevation::kNone;
  // Makes the staged page of a Markdown document.
  MarkdownConverter convertMarkdown;
  // The code page the converter is told a legacy-encoded document is in.
  std::uint32_t markdownCodePage = platform::kAnsiCodePage;
  DevToolsOptions devTools;
  // Where the engines say why a picture failed and what their browsers did;
  // none when nobody listens (the log is off).
  CaptureReport* report = nullptr;

  // The picture's size in device pixels, for the capture size.
  std::int32_t pictureWidth() const { return devicePixels(captureWidth, deviceScale); }
  std::int32_t pictureHeight() const { return devicePixels(captureHeight, deviceScale); }
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_CAPTURE_REQUEST_H_
