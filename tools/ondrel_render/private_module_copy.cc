#include "tools/ondrel_render/private_module_copy.h"

#include <string>

#include "capture/staging/drawing_assets.h"
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

std::filesystem::path pathOf(const WideString& path) { return std::filesystem::path(path); }

}  // namespace

PrivateModuleCopy::CopiedTree::~CopiedTree() {
  std::error_code ignored;
  if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
}

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
  // A module without assets beside it draws nothing either.
  std::optional<CopiedTree> assets;
  const std::filesystem::path from =
      pathOf(modulePath).parent_path() / pathOf(ondrel::kDrawingAssetsFolder);
  std::error_code error;
  if (std::filesystem::is_directory(from, error)) {
    const std::filesystem::path to = pathOf(folder->path()) / pathOf(ondrel::kDrawingAssetsFolder);
    assets.emplace(to);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive, error);
    if (error) return std::nullopt;
  }
  return PrivateModuleCopy(std::move(*folder), std::move(*module), std::move(assets));
}

}  // namespace ondrel_render
