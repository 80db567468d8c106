#include "capture/devtools/page_end.h"

#include "capture/devtools/json_fields.h"

namespace ondrel::devtools {

std::optional<PageEnd> pageEndIn(const nlohmann::json& event) {
  const std::string_view method = stringField(event, "method");
  if (method == "Inspector.targetCrashed" || method == "Inspector.detached") {
    return PageEnd{stringField(event, "sessionId"), {}};
  }
  const auto params = event.find("params");
  if (params == event.end()) return std::nullopt;
  if (method == "Target.detachedFromTarget") {
    return PageEnd{stringField(*params, "sessionId"), stringField(*params, "targetId")};
  }
  if (method == "Target.targetCrashed" || method == "Target.targetDestroyed") {
    return PageEnd{{}, stringField(*params, "targetId")};
  }
  return std::nullopt;
}

}  // namespace ondrel::devtools
