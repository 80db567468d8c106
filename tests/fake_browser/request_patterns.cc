#include "tests/fake_browser/request_patterns.h"

#include <string>

namespace ondrel::test {
namespace {

using nlohmann::json;

std::string textOr(const json& pattern, const char* name, const char* fallback) {
  const auto field = pattern.find(name);
  if (field == pattern.end()) return fallback;
  return field->is_string() ? field->get<std::string>() : std::string("\x01not text");
}

bool holds(const json& pattern, std::string_view url, std::string_view resourceType) {
  if (!pattern.is_object()) return false;
  const std::string type = textOr(pattern, "resourceType", "");
  return matchesUrlPattern(textOr(pattern, "urlPattern", "*"), url) &&
         (type.empty() || type == resourceType) &&
         textOr(pattern, "requestStage", "Request") == "Request";
}

}  // namespace

bool matchesUrlPattern(std::string_view pattern, std::string_view text) {
  // The classic backtracking match: a '*' seen last may take one more character.
  std::size_t p = 0, t = 0;
  std::size_t starAt = std::string_view::npos, starText = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      starText = t;
      continue;
    }
    const bool escaped = p + 1 < pattern.size() && pattern[p] == '\\';
    const std::size_t literal = escaped ? p + 1 : p;
    if (literal < pattern.size() &&
        ((!escaped && pattern[p] == '?') || pattern[literal] == text[t])) {
      p = literal + 1;
      ++t;
      continue;
    }
    if (starAt == std::string_view::npos) return false;
    p = starAt + 1;
    t = ++starText;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool holdsBeforeSending(const json& params, std::string_view url, std::string_view resourceType) {
  const auto patterns = params.is_object() ? params.find("patterns") : params.end();
  if (!params.is_object() || patterns == params.end()) return true;
  if (!patterns->is_array()) return false;
  for (const json& pattern : *patterns) {
    if (holds(pattern, url, resourceType)) return true;
  }
  return false;
}

}  // namespace ondrel::test
