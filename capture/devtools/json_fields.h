#ifndef ONDREL_CAPTURE_DEVTOOLS_JSON_FIELDS_H_
#define ONDREL_CAPTURE_DEVTOOLS_JSON_FIELDS_H_

#include <nlohmann/json.hpp>

#include "capture/devtools/protocol_connection.h"

#include <optional>
#include <string>
#include <string_view>

namespace ondrel::devtools {

// The text field `name` of a protocol message; empty when the message has
// none, or none that is text. Browsers' messages are read, never trusted.
inline std::string_view stringField(const nlohmann::json& message, const char* name) {
  if (!message.is_object()) return {};
  const auto field = message.find(name);
  if (field == message.end() || !field->is_string()) return {};
  return field->get_ref<const std::string&>();
}

// The same of an answer's result, which may be missing: nothing when it is,
// or when the field is missing or empty.
inline std::optional<std::string> nonEmptyStringIn(const std::optional<nlohmann::json>& result,
                                                   const char* name) {
  if (!result) return std::nullopt;
  const std::string_view value = stringField(*result, name);
  if (value.empty()) return std::nullopt;
  return std::string(value);
}

// An answer that came but lacks what it must hold counts as a refusal.
inline ConnectionFailure answerLacks(std::string_view method, std::string_view what) {
  return {ConnectionFailure::Kind::kErrorAnswer, std::string(method),
          "the answer holds no " + std::string(what)};
}

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_JSON_FIELDS_H_
