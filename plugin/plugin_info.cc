#include "plugin/plugin_info.h"

#include <algorithm>

#include "capture/page_kinds.h"

namespace ondrel {
namespace {

// "*.html;*.htm;..." for the kinds the settings let in.
WideString filePatterns(const SettingsSource& settings) {
  const bool svgEnabled = settings.svgEnabled();
  WideString patterns;
  for (const PageExtension& page : kPageExtensions) {
    if (followsSvgSetting(page.kind) && !svgEnabled) continue;
    if (!patterns.empty()) patterns += u';';
    patterns += u'*';
    patterns += page.extension;
  }
  return patterns;
}

}  // namespace

std::optional<WideString> pluginInfoText(const SettingsSource& settings, int index) {
  switch (index) {
    case 0:
      return u"00IN";
    case 1:
      return u"ondrel by Qorv";
    case 2:
      return filePatterns(settings);
    case 3:
      return u"html\u30D5\u30A1\u30A4\u30EB";
    default:
      return std::nullopt;
  }
}

int copyTerminated(WideView text, char16_t* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  const std::size_t length = std::min(text.size(), std::size_t(capacity) - 1);
  std::copy_n(text.begin(), length, buffer);
  buffer[length] = u'\0';
  return int(length);
}

}  // namespace ondrel
