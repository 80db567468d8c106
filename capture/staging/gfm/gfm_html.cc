#include "capture/staging/gfm/gfm_html.h"

#include <optional>

#include "capture/staging/gfm/parser_memory.h"
#include "capture/staging/gfm/front_matter.h"
#include "capture/staging/gfm/front_matter_table.h"
#include "capture/staging/gfm/gfm_document.h"
#include "capture/staging/gfm/github_alerts.h"

namespace ondrel {

std::string gfmHtml(std::string_view markdown, GithubAdditions additions) {
  std::optional<FrontMatter> frontMatter;
  if (additions.frontMatter) frontMatter = splitFrontMatter(markdown);
  CmarkMemory memory;
  const GfmDocument document(frontMatter ? frontMatter->rest : markdown, memory);
  if (frontMatter) insertFrontMatterTable(document, frontMatter->entries);
  if (additions.alerts) makeGithubAlerts(document);
  return document.html();
}

}  // namespace ondrel
