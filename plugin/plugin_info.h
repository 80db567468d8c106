#ifndef ONDREL_PLUGIN_PLUGIN_INFO_H_
#define ONDREL_PLUGIN_PLUGIN_INFO_H_

#include <optional>

#include "plugin/settings.h"

namespace ondrel {

// The information string for `index`: 0 the interface version, 1 the plug-in's
// name, 2 the file patterns it takes, 3 the format's name; nothing otherwise.
std::optional<WideString> pluginInfoText(const SettingsSource& settings, int index);

// Copies `text` and a terminator into a buffer of `capacity` units, cutting
// the text to fit; the number of units of text written.
int copyTerminated(WideView text, char16_t* buffer, int capacity);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_PLUGIN_INFO_H_
