#ifndef ONDREL_CAPTURE_STAGING_STAGED_PAGE_H_
#define ONDREL_CAPTURE_STAGING_STAGED_PAGE_H_

#include <cstdint>
#include <optional>

#include "capture/capture_request.h"
#include "capture/staging/capture_file.h"
#include "text/wide_text.h"

namespace ondrel {

// The page the browser is shown for a document, whichever engine shows it:
// the document itself, or for a Markdown document the HTML page converted
// from it, staged in the capture folder and removed when the object goes.
class StagedPage {
 public:
  // The page for the document at `pagePath`; a Markdown document is
  // converted with `convert` (empty: the built-in converter), which is told
  // `codePage`. Nothing when the conversion failed or the page could not be
  // written, so that the capture gives up.
  static std::optional<StagedPage> forDocument(const WideString& pagePath,
                                               const MarkdownConverter& convert,
                                               std::uint32_t codePage);

  StagedPage(StagedPage&&) = default;
  StagedPage& operator=(StagedPage&&) = delete;
  StagedPage(const StagedPage&) = delete;

  // The full name of the file to show.
  const WideString& path() const { return staged_ ? staged_->path() : documentPath_; }
  // Whether it is a page made for the document, not the document itself.
  bool isStaged() const { return staged_.has_value(); }

 private:
  explicit StagedPage(WideString documentPath) : documentPath_(std::move(documentPath)) {}
  explicit StagedPage(CaptureFile staged) : staged_(std::move(staged)) {}

  WideString documentPath_;
  std::optional<CaptureFile> staged_;
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_STAGED_PAGE_H_
