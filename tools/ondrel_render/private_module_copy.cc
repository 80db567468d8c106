#include "tools/ondrel_render/private_module_copy.h"

#include <random>
#include <string>

#include "platform/files.h"
#include "platform/process_identity.h"
#include "platform/shell_paths.h"

namespace ondrel_render {
namespace {

using ondrel::WideString;
namespace platform = ondrel::platform;

constexpr int kFolderAttempts = 16;

// A new, empty folder in the temporary folder, or nothing.
std::optional<WideString> makeFolder() {
  const std::optional<WideString> temporary = platform::temporaryFolder();
  if (!temporary) return std::nullopt;
  std::random_device entropy;
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    const std::string name = "ondrel-render-" + std::to_string(platform::currentProcessId()) + "-" +
                             std::to_string(entropy());
    const std::optional<WideString> folder =
        platform::combinePath(*temporary, ondrel::widenAscii(name));
    if (!folder) return std::nullopt;
    if (platform::createDirectory(*folder)) return folder;
  }
  return std::nullopt;
}

bool copyFile(const WideString& from, const WideString& to) {
  const std::optional<std::string> bytes = platform::readFileBytes(from);
  return bytes && platform::writeFileBytes(to, *bytes);
}

}  // namespace

std::optional<PrivateModuleCopy> PrivateModuleCopy::make(const WideString& modulePath,
                                                         const WideString& settingsPath) {
  std::optional<WideString> folder = makeFolder();
  if (!folder) return std::nullopt;
  PrivateModuleCopy copy(std::move(*folder));

  // The settings file is the module's name with ".ini" in place of its extension.
  const WideString moduleName = platform::stripPath(modulePath);
  const std::optional<WideString> module = platform::combinePath(copy.folder_, moduleName);
  const std::optional<WideString> settings =
      module ? platform::renameExtension(*module, u".ini") : std::nullopt;
  if (!settings) return std::nullopt;

  // Recorded before they are written, so that a half-made copy is cleaned up.
  copy.modulePath_ = *module;
  copy.settingsPath_ = *settings;
  if (!copyFile(modulePath, copy.modulePath_) || !copyFile(settingsPath, copy.settingsPath_)) {
    return std::nullopt;
  }
  return copy;
}

PrivateModuleCopy::PrivateModuleCopy(PrivateModuleCopy&& other) noexcept
    : folder_(std::move(other.folder_)),
      modulePath_(std::move(other.modulePath_)),
      settingsPath_(std::move(other.settingsPath_)) {
  other.folder_.clear();
  other.modulePath_.clear();
  other.settingsPath_.clear();
}

PrivateModuleCopy::~PrivateModuleCopy() {
  if (folder_.empty()) return;
  if (!settingsPath_.empty()) platform::deleteFile(settingsPath_);
  if (!modulePath_.empty()) platform::deleteFile(modulePath_);
  platform::removeDirectory(folder_);
}

}  // namespace ondrel_render
