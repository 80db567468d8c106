#ifndef ONDREL_CAPTURE_DEVTOOLS_PAGE_END_H_
#define ONDREL_CAPTURE_DEVTOOLS_PAGE_END_H_

#include <nlohmann/json.hpp>

#include <optional>
#include <string_view>

namespace ondrel::devtools {

// A page the browser reports gone for good: its renderer crashed or ended, its target was
// destroyed, or the session to it detached. Named by its session, its target, or both.
struct PageEnd {
  std::string_view sessionId;
  std::string_view targetId;
};

// The page `event` reports gone, if it is such an event. Chromium reports a crashed renderer in
// the page's own session (Inspector.targetCrashed, with no domain enabled) and a closed page or
// an ended renderer as its session's detaching (Inspector.detached there, and
// Target.detachedFromTarget to the browser); with target discovery on it also names the target.
std::optional<PageEnd> pageEndIn(const nlohmann::json& event);

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_PAGE_END_H_
