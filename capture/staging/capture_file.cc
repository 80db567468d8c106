#include "capture/staging/capture_file.h"

#include "capture/staging/capture_names.h"
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

std::optional<CaptureFile> CaptureFile::make(WideView pagePath, WideView extension,
                                             std::string_view bytes) {
  for (int attempt = 0; attempt < kHoldAttempts; ++attempt) {
    std::optional<platform::PrivateFolder> folder = platform::PrivateFolder::openCaptureFolder();
    if (!folder) continue;
    std::optional<WideString> name = createNamedFile(*folder, pagePath, extension, bytes);
    if (name) return CaptureFile(std::move(*folder), std::move(*name));
  }
  return std::nullopt;
}

CaptureFile::CaptureFile(platform::PrivateFolder folder, WideString name)
    : folder_(std::move(folder)),
      name_(std::move(name)),
      path_(platform::combinePath(folder_.path(), name_).value()) {}

std::unique_ptr<platform::ScreenshotBitmap> CaptureFile::decodePng(int maxWidth,
                                                                   int maxHeight) const {
  return folder_.decodePng(name_, maxWidth, maxHeight);
}

std::optional<std::string> CaptureFile::head(std::size_t count) const {
  return folder_.readHead(name_, count);
}

}  // namespace ondrel
