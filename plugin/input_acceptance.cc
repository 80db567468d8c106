#include "plugin/input_acceptance.h"

#include "capture/page_kinds.h"

namespace ondrel {

bool acceptsInput(const SettingsSource& settings, std::optional<WideView> fileName) {
  const WideString browser = settings.browserPath();
  if (browser.empty() || !settings.pathExists(browser)) return false;
  if (!fileName) return true;

  const bool svgEnabled = settings.svgEnabled();
  const std::optional<PageKind> kind = pageKindOf(*fileName);
  return kind && (svgEnabled || !followsSvgSetting(*kind));
}

}  // namespace ondrel
