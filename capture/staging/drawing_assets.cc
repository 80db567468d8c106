#include "capture/staging/drawing_assets.h"

#include <initializer_list>

#include "capture/staging/file_url.h"
#include "platform/module_path.h"
#include "platform/shell_paths.h"

namespace ondrel {
namespace {

bool allExist(const WideString& folder, std::initializer_list<const char*> files) {
  for (const char* file : files) {
    const std::optional<WideString> path = platform::combinePath(folder, utf8ToWide(file));
    if (!path || !platform::pathExists(*path)) return false;
  }
  return true;
}

}  // namespace

std::optional<DrawingAssets> drawingAssetsIn(const WideString& folder) {
  // The URL of a file in the folder, less the file's name.
  const std::optional<WideString> probe = platform::combinePath(folder, u"-");
  if (!probe) return std::nullopt;
  std::optional<std::string> url = folderUrl(*probe);
  if (!url) return std::nullopt;
  DrawingAssets assets{std::move(*url)};
  assets.highlight = allExist(folder, {asset::kHighlightScript, asset::kHighlightStyle});
  assets.katex = allExist(folder, {asset::kKatexScript, asset::kKatexStyle});
  assets.mermaid = allExist(folder, {asset::kMermaidScript});
  return assets;
}

std::optional<DrawingAssets> drawingAssetsBesideModule() {
  const std::optional<WideString> module = platform::moduleFileName();
  if (!module) return std::nullopt;
  const WideString name = platform::stripPath(*module);
  const WideString moduleFolder = module->substr(0, module->size() - name.size());
  const std::optional<WideString> folder =
      platform::combinePath(moduleFolder, kDrawingAssetsFolder);
  if (!folder) return std::nullopt;
  return drawingAssetsIn(*folder);
}

}  // namespace ondrel
