#ifndef ONDREL_PLUGIN_INPUT_ACCEPTANCE_H_
#define ONDREL_PLUGIN_INPUT_ACCEPTANCE_H_

#include <optional>
#include <string>

#include "plugin/settings.h"

namespace ondrel {

// Whether the plug-in takes an input: a browser must be configured and exist;
// a named file must then be of a page kind, and a drawing only while SVG
// drawings are on. Without a name (a memory image) the browser test decides.
// The file's bytes play no part.
bool acceptsInput(const SettingsSource& settings, std::optional<WideView> fileName);

// Why the plug-in does not take the input, in words; nothing when it does.
std::optional<std::string> refusalOf(const SettingsSource& settings,
                                     std::optional<WideView> fileName);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_INPUT_ACCEPTANCE_H_
