#include "capture/staging/staged_page.h"

#include "capture/page_kinds.h"
#include "capture/staging/markdown_staging.h"

namespace ondrel {

std::optional<StagedPage> StagedPage::forDocument(const WideString& pagePath,
                                                  const MarkdownConverter& convert,
                                                  std::uint32_t codePage) {
  if (pageKindOf(pagePath) != PageKind::kMarkdown) return StagedPage(pagePath);
  const std::optional<std::string> page = markdownPageFor(pagePath, convert, codePage);
  if (!page) return std::nullopt;
  std::optional<CaptureFile> staged = CaptureFile::make(pagePath, u".htm", *page);
  if (!staged) return std::nullopt;
  return StagedPage(std::move(*staged));
}

}  // namespace ondrel
