#include "plugin/input_acceptance.h"

#include "capture/page_kinds.h"

namespace ondrel {

bool acceptsInput(const SettingsSource& settings, std::optional<WideView> fileName) {
  return !refusalOf(settings, fileName);
}

std::optional<std::string> refusalOf(const SettingsSource& settings,
                                     std::optional<WideView> fileName) {
  const WideString browser = settings.browserPath();
  if (browser.empty()) return "no browser: Chrome is empty";
  if (!settings.pathExists(browser)) return "browser not found: " + wideToUtf8(browser);
  if (!fileName) return std::nullopt;

  const std::optional<PageKind> kind = pageKindOf(*fileName);
  if (!kind) return "not a page the plug-in takes (.html, .htm, .md, .svg)";
  if (followsSvgSetting(*kind) && !settings.svgEnabled()) return "SVG drawings are off (SVG)";
  return std::nullopt;
}

}  // namespace ondrel
