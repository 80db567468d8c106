#include "capture/staging/capture_names.h"

#include <string>

#include "platform/process_identity.h"
#include "platform/shell_paths.h"

namespace ondrel {
namespace {

WideString uniqueTag(int attempt) {
  std::string tag = "-";
  tag += std::to_string(platform::currentProcessId());
  tag += '-';
  tag += std::to_string(platform::currentThreadId());
  if (attempt > 0) tag += "-" + std::to_string(attempt);
  return widenAscii(tag);
}

}  // namespace

std::optional<WideString> captureFileName(WideView pagePath, WideView extension, int attempt) {
  const WideString finalName = platform::stripPath(pagePath);
  const WideView ownExtension = platform::findExtension(finalName);
  WideString name = finalName.substr(0, finalName.size() - ownExtension.size());
  name += uniqueTag(attempt);
  name += extension;
  if (!fitsPathBuffer(name)) return std::nullopt;
  return name;
}

}  // namespace ondrel
