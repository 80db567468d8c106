// What a page's text tells the fake browser to do with it, beyond the pattern it shows
// (tests/support/test_pattern.h): markers a test writes into the page, read wherever they stand.
#ifndef ONDREL_TESTS_FAKE_BROWSER_PAGE_DIRECTIONS_H_
#define ONDREL_TESTS_FAKE_BROWSER_PAGE_DIRECTIONS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel::test {

// What becomes of the page's renderer once the document has come.
enum class RendererFate {
  kRuns,             // the page loads and answers
  kCrashes,          // "renderer:crashes": it dies before the load event
  kHangsBeforeLoad,  // "renderer:hangs-before-load": a script never ends; no load event
  kHangsAfterLoad,   // "renderer:hangs-after-load": the load event comes, then nothing more
  kDetaches,         // "renderer:detaches": the page's session detaches before the load event
};

struct PageDirections {
  // "asks-for:URL", any number: resources the document asks for once it has come, in order.
  // The URL runs up to white space, a quote or a '<'.
  std::vector<std::string> resources;
  // "dialog:alert", "dialog:confirm", "dialog:prompt" or "dialog:beforeunload": a dialog the
  // page opens before its load event, which waits until the dialog is answered.
  std::optional<std::string> dialog;
  RendererFate fate = RendererFate::kRuns;
  // "page-height:N": the height of the laid-out content, in CSS pixels.
  std::optional<double> contentHeight;
  // "drawn-height:N": the content's height once the page's drawing is done, which a page
  // that draws (its text sets window.ondrelDrawing) reaches only when the drawing is awaited.
  std::optional<double> drawnHeight;
  // "drawing:never-ends": the page's drawing promise never settles.
  bool drawingNeverEnds = false;
};

PageDirections readPageDirections(std::string_view page);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_PAGE_DIRECTIONS_H_
