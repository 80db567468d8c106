#include "capture/staging/gfm/gfm_html.h"

#include <optional>

#include "capture/staging/gfm/front_matter.h"
#include "capture/staging/gfm/front_matter_table.h"
#include "capture/staging/gfm/gfm_document.h"
#include "capture/staging/gfm/github_alerts.h"
#include "capture/staging/gfm/math_syntax.h"
#include "capture/staging/gfm/parser_memory.h"

namespace ondrel {

GfmBody gfmBody(std::string_view markdown, GithubAdditions additions) {
  std::optional<FrontMatter> frontMatter;
  if (additions.frontMatter) frontMatter = splitFrontMatter(markdown);
  CmarkMemory memory;
  std::optional<MathSyntax> math;
  if (additions.math) math.emplace(memory.allocator());
  const GfmDocument document(frontMatter ? frontMatter->rest : markdown, memory,
                             math ? math->extension() : nullptr);
  if (frontMatter) insertFrontMatterTable(document, frontMatter->entries);
  if (additions.alerts) makeGithubAlerts(document);
  GfmBody body{document.html(), drawingNeedsOfBlocks(document.root())};
  if (math && math->spansFound() > 0) body.needs.math = true;
  return body;
}

}  // namespace ondrel
