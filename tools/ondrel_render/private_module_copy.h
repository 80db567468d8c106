#ifndef ONDREL_TOOLS_ONDREL_RENDER_PRIVATE_MODULE_COPY_H_
#define ONDREL_TOOLS_ONDREL_RENDER_PRIVATE_MODULE_COPY_H_

#include <filesystem>
#include <optional>
#include <utility>

#include "platform/private_folder.h"
#include "text/wide_text.h"

namespace ondrel_render {

// A copy of the plug-in module with a settings file of the caller's choice
// beside it, in a new folder of its own in the user's temporary folder that
// only this user can write. The plug-in reads its settings only from beside
// its module, so this is how a different settings file reaches it; the
// drawing assets beside the module (ondrel-assets) are copied with it, or its
// Markdown pages would draw nothing. Everything is removed when the object
// goes; the module must be unloaded by then.
class PrivateModuleCopy {
 public:
  // Nothing when the folder cannot be made or a file cannot be copied; no
  // trace is left then either.
  static std::optional<PrivateModuleCopy> make(const ondrel::WideString& modulePath,
                                               const ondrel::WideString& settingsPath);

  PrivateModuleCopy(PrivateModuleCopy&&) = default;
  PrivateModuleCopy& operator=(PrivateModuleCopy&&) = delete;
  PrivateModuleCopy(const PrivateModuleCopy&) = delete;

  const ondrel::WideString& folder() const { return folder_.path(); }
  const ondrel::WideString& modulePath() const { return modulePath_; }

 private:
  // A folder tree copied into the private folder, removed before it.
  class CopiedTree {
   public:
    explicit CopiedTree(std::filesystem::path root) : root_(std::move(root)) {}
    CopiedTree(CopiedTree&& other) noexcept : root_(std::exchange(other.root_, {})) {}
    CopiedTree& operator=(CopiedTree&&) = delete;
    ~CopiedTree();

   private:
    std::filesystem::path root_;
  };

  PrivateModuleCopy(ondrel::platform::PrivateFolder folder, ondrel::WideString modulePath,
                    std::optional<CopiedTree> assets)
      : folder_(std::move(folder)),
        modulePath_(std::move(modulePath)),
        assets_(std::move(assets)) {}

  ondrel::platform::PrivateFolder folder_;
  ondrel::WideString modulePath_;
  std::optional<CopiedTree> assets_;
};

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_PRIVATE_MODULE_COPY_H_
