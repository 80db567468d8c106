#include "capture/page_kinds.h"

#include "platform/shell_paths.h"

namespace ondrel {

std::optional<PageKind> pageKindOf(WideView fileName) {
  const WideView extension = platform::findExtension(fileName);
  for (const PageExtension& page : kPageExtensions) {
    if (equalsIgnoringAsciiCase(extension, page.extension)) return page.kind;
  }
  return std::nullopt;
}

WideView extensionOf(PageKind kind) {
  for (const PageExtension& page : kPageExtensions) {
    if (page.kind == kind) return page.extension;
  }
  return {};
}

}  // namespace ondrel
