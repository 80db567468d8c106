#ifndef ONDREL_PLUGIN_UNKNOWN_KEYS_H_
#define ONDREL_PLUGIN_UNKNOWN_KEYS_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/profile_reader.h"
#include "text/wide_text.h"

namespace ondrel {

// A key of the settings file that the plug-in passes over: one it does not
// know in its section, or one of its keys in another section, where it has
// no effect (a misspelt "[SystemSettings]" included).
struct KeyWarning {
  enum class Kind { kUnknownKey, kWrongSection };
  Kind kind = Kind::kUnknownKey;
  platform::ProfileKey found;
  // The known key the user most likely meant; empty when none is near.
  WideString meant;

  // What the user reads, e.g. unknown key "engin" in [SystemSetting] (did
  // you mean "engine"?).
  std::string inWords() const;
};

// The warnings for a file holding `keys`, each key named once, in the
// file's order.
std::vector<KeyWarning> keyWarnings(const std::vector<platform::ProfileKey>& keys);

// A key or a name in double quotes, as the user reads it.
std::string inQuotes(WideView text);

// The known key nearest to `key` when it is near enough to be a slip of the
// fingers: a letter or two wrong, missing or too many, or the start of one.
// Letter case plays no part.
std::optional<WideView> nearestKnownKey(WideView key);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_UNKNOWN_KEYS_H_
