#include "plugin/input_acceptance.h"

#include "platform/shell_paths.h"

namespace ondrel {

bool hasSvgExtension(WideView fileName) {
  return equalsIgnoringAsciiCase(platform::findExtension(fileName), u".svg");
}

bool acceptsInput(const SettingsSource& settings, std::optional<WideView> fileName) {
  const WideString browser = settings.browserPath();
  if (browser.empty() || !settings.pathExists(browser)) return false;
  if (!fileName) return true;

  const bool svgEnabled = settings.svgEnabled();
  const WideView extension = platform::findExtension(*fileName);
  for (const WideView page : {u".html", u".htm", u".md"}) {
    if (equalsIgnoringAsciiCase(extension, page)) return true;
  }
  return svgEnabled && equalsIgnoringAsciiCase(extension, u".svg");
}

}  // namespace ondrel
