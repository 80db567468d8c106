#include "tools/ondrel_render/private_module_copy.h"

#include <string>

#include "platform/files.h"
#include "platform/shell_paths.h"

namespace ondrel_render {
namespace {

using ondrel::WideString;
namespace platform = ondrel::platform;

bool copyInto(platform::PrivateFolder& folder, const WideString& from, const WideString& name) {
  const std::optional<std::string> bytes = platform::readFileBytes(from);
  return bytes && folder.createFile(name, *bytes) == platform::NewFile::kCreated;
}

}  // namespace

std::optional<PrivateModuleCopy> PrivateModuleCopy::make(const WideString& modulePath,
                                                         const WideString& settingsPath) {
  std::optional<platform::PrivateFolder> folder =
      platform::PrivateFolder::makeFresh("ondrel-render-");
  if (!folder) return std::nullopt;

  // The settings file is the module's name with ".ini" in place of its extension.
  const WideString moduleName = platform::stripPath(modulePath);
  const std::optional<WideString> settingsName = platform::renameExtension(moduleName, u".ini");
  std::optional<WideString> module = platform::combinePath(folder->path(), moduleName);
  if (!settingsName || !module || !platform::combinePath(folder->path(), *settingsName) ||
      !copyInto(*folder, modulePath, moduleName) ||
      !copyInto(*folder, settingsPath, *settingsName)) {
    return std::nullopt;
  }
  return PrivateModuleCopy(std::move(*folder), std::move(*module));
}

}  // namespace ondrel_render
