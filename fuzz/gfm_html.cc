// Fuzzes the GitHub-flavoured converter: cmark-gfm as the staging runs it, with the alerts and
// the front matter on top. Any bytes must convert, and each addition may change only what it
// is about:
// - alerts change nothing in a document without a "!", which every marker needs, however it
//   is written (an entity or an escape counts: they keep "&" or "\!");
// - front matter changes nothing in a document that has none, and in one that has, the page
//   after its table is the rest of the document converted alone;
// - math changes nothing in a document without a "$".

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "capture/staging/gfm/front_matter.h"
#include "capture/staging/gfm/gfm_html.h"

namespace {

void require(bool holds, const char* what, std::string_view html) {
  if (holds) return;
  std::fprintf(stderr, "%s:\n%.*s\n", what, static_cast<int>(html.size()), html.data());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view document(reinterpret_cast<const char*>(data), size);
  const std::string plain = ondrel::gfmHtml(document);

  const std::string alerted = ondrel::gfmHtml(document, {.alerts = true});
  if (document.find('!') == std::string_view::npos &&
      document.find('&') == std::string_view::npos) {
    require(alerted == plain, "alerts changed a document without a marker", alerted);
  }

  const std::string fronted = ondrel::gfmHtml(document, {.frontMatter = true});
  const std::optional<ondrel::FrontMatter> frontMatter = ondrel::splitFrontMatter(document);
  if (!frontMatter) {
    require(fronted == plain, "front matter changed a document without any", fronted);
  } else {
    require(fronted.ends_with(ondrel::gfmHtml(frontMatter->rest)),
            "the page after the front matter is not the rest alone", fronted);
  }

  const std::string mathed = ondrel::gfmHtml(document, {.math = true});
  if (document.find('$') == std::string_view::npos) {
    require(mathed == plain, "math changed a document without a dollar", mathed);
  }

  ondrel::gfmHtml(document, ondrel::kDrawnGithubAdditions);
  return 0;
}
