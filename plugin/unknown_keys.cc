#include "plugin/unknown_keys.h"

#include <algorithm>
#include <numeric>
#include <set>

#include "plugin/settings.h"

namespace ondrel {
namespace {

char16_t folded(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

WideString foldedText(WideView text) {
  WideString result(text);
  std::transform(result.begin(), result.end(), result.begin(), folded);
  return result;
}

// Letters to change, drop, add or swap with their neighbour to make one text
// the other.
std::size_t editDistance(WideView a, WideView b) {
  std::vector<std::size_t> beforePrevious(b.size() + 1);
  std::vector<std::size_t> previous(b.size() + 1);
  std::iota(previous.begin(), previous.end(), std::size_t(0));
  std::vector<std::size_t> current(b.size() + 1);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({change, previous[j] + 1, current[j - 1] + 1});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], beforePrevious[j - 2] + 1);
      }
    }
    std::swap(beforePrevious, previous);
    std::swap(previous, current);
  }
  return previous[b.size()];
}

bool isKnown(WideView key) {
  return std::ranges::any_of(setting::kKnownKeys,
                             [&](WideView known) { return equalsIgnoringAsciiCase(key, known); });
}

// The shortest start of a key that names it.
constexpr std::size_t kShortestStart = 4;

bool isNear(const WideString& key, const WideString& known) {
  if (key.size() >= kShortestStart && known.starts_with(key)) return true;
  const std::size_t distance = editDistance(key, known);
  return distance <= 2 && distance * 3 <= known.size();
}

// Built up piece by piece: MinGW's GCC 12 misreads "x" + std::string&& as
// overlapping copies (GCC bug 105329).
std::string enclosed(char open, WideView text, char close) {
  std::string result(1, open);
  result += wideToUtf8(text);
  result += close;
  return result;
}

std::string section(WideView name) { return enclosed('[', name, ']'); }

}  // namespace

std::string inQuotes(WideView text) { return enclosed('"', text, '"'); }

std::optional<WideView> nearestKnownKey(WideView key) {
  const WideString wanted = foldedText(key);
  std::optional<WideView> nearest;
  std::size_t nearestDistance = 0;
  for (WideView known : setting::kKnownKeys) {
    const WideString candidate = foldedText(known);
    if (!isNear(wanted, candidate)) continue;
    const std::size_t distance = editDistance(wanted, candidate);
    if (!nearest || distance < nearestDistance) {
      nearest = known;
      nearestDistance = distance;
    }
  }
  return nearest;
}

std::vector<KeyWarning> keyWarnings(const std::vector<platform::ProfileKey>& keys) {
  std::vector<KeyWarning> warnings;
  std::set<std::pair<WideString, WideString>> named;
  for (const platform::ProfileKey& key : keys) {
    const bool inOurSection = equalsIgnoringAsciiCase(key.section, setting::kSection);
    KeyWarning warning{KeyWarning::Kind::kUnknownKey, key, {}};
    if (inOurSection) {
      if (isKnown(key.key)) continue;
      if (const std::optional<WideView> meant = nearestKnownKey(key.key)) warning.meant = *meant;
    } else {
      // Other sections are others' business, unless they hold our keys.
      if (!isKnown(key.key)) continue;
      warning.kind = KeyWarning::Kind::kWrongSection;
    }
    if (!named.insert({foldedText(key.section), foldedText(key.key)}).second) continue;
    warnings.push_back(std::move(warning));
  }
  return warnings;
}

std::string KeyWarning::inWords() const {
  if (kind == Kind::kWrongSection) {
    return "key " + inQuotes(found.key) + " is in " + section(found.section) + ", not in " +
           section(setting::kSection) + ", where it has no effect";
  }
  std::string words = "unknown key " + inQuotes(found.key) + " in " + section(found.section);
  if (!meant.empty()) words += " (did you mean " + inQuotes(meant) + "?)";
  return words;
}

}  // namespace ondrel
