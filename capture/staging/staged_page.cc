#include "capture/staging/staged_page.h"

#include <string_view>

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
  return StagedPage(std::move(*staged), true);
}

std::optional<StagedPage> StagedPage::forRequest(const CaptureRequest& request) {
  if (request.memoryImage) {
    return forMemoryImage(request.pagePath, *request.memoryImage, request.convertMarkdown,
                          request.markdownCodePage);
  }
  return forDocument(request.pagePath, request.convertMarkdown, request.markdownCodePage);
}

std::optional<StagedPage> StagedPage::forMemoryImage(const WideString& pageName,
                                                     std::span<const std::uint8_t> bytes,
                                                     const MarkdownConverter& convert,
                                                     std::uint32_t codePage) {
  const std::optional<PageKind> kind = pageKindOf(pageName);
  if (!kind) return std::nullopt;
  const std::string_view document(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (*kind != PageKind::kMarkdown) {
    std::optional<CaptureFile> copy = CaptureFile::make(pageName, extensionOf(*kind), document);
    if (!copy) return std::nullopt;
    return StagedPage(std::move(*copy), false);
  }
  // Bytes in memory live in no folder: nothing for their references to
  // resolve against.
  const std::optional<std::string> page =
      markdownPageOf(MarkdownDocument{document, std::nullopt, codePage}, convert);
  if (!page) return std::nullopt;
  std::optional<CaptureFile> staged = CaptureFile::make(pageName, u".htm", *page);
  if (!staged) return std::nullopt;
  return StagedPage(std::move(*staged), true);
}

}  // namespace ondrel
