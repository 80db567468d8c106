#include "capture/capture_names.h"

#include <string>

#include "platform/process_identity.h"
#include "platform/shell_paths.h"

namespace ondrel {
namespace {

WideString uniqueTag() {
  std::string tag = "-";
  tag += std::to_string(platform::currentProcessId());
  tag += '-';
  tag += std::to_string(platform::currentThreadId());
  return widenAscii(tag);
}

}  // namespace

std::optional<WideString> captureFileName(WideView folder, WideView pagePath, WideView extension) {
  const WideString finalName = platform::stripPath(pagePath);
  const WideView ownExtension = platform::findExtension(finalName);
  WideString name = finalName.substr(0, finalName.size() - ownExtension.size());
  name += uniqueTag();
  name += extension;
  return platform::combinePath(folder, name);
}

std::optional<CaptureNames> makeCaptureNames(WideView pagePath, bool stagesPage) {
  const std::optional<WideString> temporary = platform::temporaryFolder();
  if (!temporary) return std::nullopt;
  std::optional<WideString> folder = platform::combinePath(*temporary, u"ondrel");
  if (!folder) return std::nullopt;
  std::optional<WideString> screenshot = captureFileName(*folder, pagePath, u".png");
  if (!screenshot) return std::nullopt;
  CaptureNames names{*folder, *screenshot, {}};
  if (stagesPage) {
    std::optional<WideString> staged = captureFileName(*folder, pagePath, u".htm");
    if (!staged) return std::nullopt;
    names.stagedPagePath = *staged;
  }
  return names;
}

}  // namespace ondrel
