#include "capture/devtools/network_block.h"

#include <algorithm>
#include <cctype>

#include "capture/devtools/json_fields.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;

bool hasScheme(std::string_view url, std::string_view scheme) {
  return url.size() > scheme.size() &&
         std::equal(scheme.begin(), scheme.end(), url.begin(),
                    [](char a, char b) { return std::tolower((unsigned char)b) == a; }) &&
         url[scheme.size()] == ':';
}

void answerHeldRequest(ProtocolConnection& connection, const json& event,
                       const platform::Deadline& deadline) {
  const auto params = event.find("params");
  if (params == event.end() || !params->is_object()) return;
  const std::string_view requestId = stringField(*params, "requestId");
  const auto request = params->find("request");
  const std::string_view url = request != params->end() ? stringField(*request, "url") : "";
  json answer = {{"requestId", std::string(requestId)}};
  const bool local = isLocalResource(url);
  if (!local) answer["errorReason"] = "BlockedByClient";
  // Answered at once, and never waited for: the page would stall otherwise.
  connection.post(local ? "Fetch.continueRequest" : "Fetch.failRequest", std::move(answer),
                  stringField(event, "sessionId"), deadline);
}

}  // namespace

json networkBlockPatterns() { return {{"patterns", json::array({{{"urlPattern", "*"}}})}}; }

bool isLocalResource(std::string_view url) {
  return hasScheme(url, "file") || hasScheme(url, "data");
}

NetworkBlock::NetworkBlock(ProtocolConnection& connection) : connection_(connection) {
  connection_.onEvent(kRequestHeld, [this](const json& event, const platform::Deadline& deadline) {
    answerHeldRequest(connection_, event, deadline);
  });
}

NetworkBlock::~NetworkBlock() { connection_.onEvent(kRequestHeld, nullptr); }

}  // namespace ondrel::devtools
