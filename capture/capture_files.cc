#include "capture/capture_files.h"

#include "capture/capture_names.h"
#include "platform/shell_paths.h"

namespace ondrel {
namespace {

// Both are far beyond what happens: a name is taken only by a leftover or a
// planted file, and the shared folder vanishes only in the moment between a
// concurrent capture's last removal and this one's first file.
constexpr int kNameAttempts = 64;
constexpr int kHoldAttempts = 16;

// Makes the page's file with `extension` under the first free name; its name.
std::optional<WideString> createNamedFile(platform::PrivateFolder& folder, WideView pagePath,
                                          WideView extension, std::string_view bytes) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::optional<WideString> name = captureFileName(pagePath, extension, attempt);
    if (!name || !platform::combinePath(folder.path(), *name)) return std::nullopt;
    switch (folder.createFile(*name, bytes)) {
      case platform::NewFile::kCreated:
        return name;
      case platform::NewFile::kNameTaken:
        continue;
      case platform::NewFile::kFailed:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<CaptureFiles> CaptureFiles::hold(WideView pagePath) {
  for (int attempt = 0; attempt < kHoldAttempts; ++attempt) {
    std::optional<platform::PrivateFolder> folder = platform::PrivateFolder::openCaptureFolder();
    if (!folder) continue;
    std::optional<WideString> screenshot = createNamedFile(*folder, pagePath, u".png", {});
    if (screenshot) return CaptureFiles(std::move(*folder), pagePath, std::move(*screenshot));
  }
  return std::nullopt;
}

CaptureFiles::CaptureFiles(platform::PrivateFolder folder, WideView pagePath,
                           WideString screenshotName)
    : folder_(std::move(folder)),
      pagePath_(pagePath),
      screenshotName_(std::move(screenshotName)),
      screenshotPath_(platform::combinePath(folder_.path(), screenshotName_).value()) {}

std::optional<WideString> CaptureFiles::stagePage(std::string_view page) {
  const std::optional<WideString> name = createNamedFile(folder_, pagePath_, u".htm", page);
  if (!name) return std::nullopt;
  return platform::combinePath(folder_.path(), *name);
}

std::unique_ptr<platform::ScreenshotBitmap> CaptureFiles::decodeScreenshot(int maxWidth,
                                                                           int maxHeight) const {
  return folder_.decodePng(screenshotName_, maxWidth, maxHeight);
}

}  // namespace ondrel
