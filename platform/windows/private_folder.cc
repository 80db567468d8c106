#include "platform/private_folder.h"

#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/process_identity.h"
#include "platform/shell_paths.h"
#include "platform/unique_handle.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {

// The temporary folder here is the user's own, so the capture folder in it
// is trusted as it is, and a leftover of the same name is replaced.
struct PrivateFolder::Native {
  WideString path;
  std::vector<WideString> files;  // full names, in the order they were made
  bool removed = false;
};

namespace {

constexpr int kFreshFolderAttempts = 16;

std::unique_ptr<PrivateFolder::Native> holdFolder(WideString path) {
  auto native = std::make_unique<PrivateFolder::Native>();
  native->path = std::move(path);
  return native;
}

// Deeper than any browser profile goes; anything deeper is left, and the
// folder's removal then fails.
constexpr int kDeepestTree = 32;

struct FindTraits {
  using Native = HANDLE;
  static Native invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Native find) { FindClose(find); }
};

bool isDotName(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Removes everything in `folder`. A link or junction is removed as itself,
// never entered, so nothing outside the folder is touched.
void emptyFolder(const WideString& folder, int depth) {
  const WideString pattern = folder + u"\\*";
  WIN32_FIND_DATAW entry;
  const UniqueHandle<FindTraits> find(FindFirstFileW(native(pattern), &entry));
  if (!find.valid()) return;
  do {
    if (isDotName(entry.cFileName)) continue;
    const WideString path = folder + u"\\" + reinterpret_cast<const char16_t*>(entry.cFileName);
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
      SetFileAttributesW(native(path), entry.dwFileAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    }
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileW(native(path));
      continue;
    }
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && depth > 0) {
      emptyFolder(path, depth - 1);
    }
    RemoveDirectoryW(native(path));
  } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

std::optional<WideString> captureFolderLocation() {
  const std::optional<WideString> temporary = temporaryFolder();
  if (!temporary) return std::nullopt;
  return combinePath(*temporary, u"ondrel");
}

// A failure to make the folder is left to show when its first file is made.
std::optional<PrivateFolder> PrivateFolder::openCaptureFolder() {
  std::optional<WideString> location = captureFolderLocation();
  if (!location) return std::nullopt;
  createDirectory(*location);
  return PrivateFolder(holdFolder(std::move(*location)));
}

std::optional<PrivateFolder> PrivateFolder::makeFresh(std::string_view prefix) {
  const std::optional<WideString> temporary = temporaryFolder();
  if (!temporary) return std::nullopt;
  std::random_device entropy;
  for (int attempt = 0; attempt < kFreshFolderAttempts; ++attempt) {
    const std::string name =
        std::string(prefix) + std::to_string(currentProcessId()) + "-" + std::to_string(entropy());
    std::optional<WideString> folder = combinePath(*temporary, widenAscii(name));
    if (!folder) return std::nullopt;
    if (createDirectory(*folder)) return PrivateFolder(holdFolder(std::move(*folder)));
  }
  return std::nullopt;
}

PrivateFolder::PrivateFolder(std::unique_ptr<Native> native) : native_(std::move(native)) {}

PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept = default;

PrivateFolder::~PrivateFolder() {
  if (!native_ || native_->removed) return;
  for (const WideString& file : native_->files) deleteFile(file);
  removeDirectory(native_->path);
}

const WideString& PrivateFolder::path() const { return native_->path; }

bool PrivateFolder::removeTree() {
  if (native_->removed) return true;
  emptyFolder(native_->path, kDeepestTree);
  native_->removed =
      RemoveDirectoryW(native(native_->path)) || GetLastError() == ERROR_FILE_NOT_FOUND;
  return native_->removed;
}

NewFile PrivateFolder::createFile(WideView name, std::string_view bytes) {
  std::optional<WideString> file = combinePath(native_->path, name);
  if (!file) return NewFile::kFailed;
  native_->files.push_back(*file);
  return writeFileBytes(*file, bytes) ? NewFile::kCreated : NewFile::kFailed;
}

std::unique_ptr<ScreenshotBitmap> PrivateFolder::decodePng(WideView name, int maxWidth,
                                                           int maxHeight) const {
  const std::optional<WideString> file = combinePath(native_->path, name);
  if (!file) return nullptr;
  return decodePngFile(*file, maxWidth, maxHeight);
}

std::optional<std::string> PrivateFolder::readHead(WideView name, std::size_t count) const {
  const std::optional<WideString> path = combinePath(native_->path, name);
  if (!path) return std::nullopt;
  std::optional<ReadableFile> file = ReadableFile::open(*path);
  if (!file) return std::nullopt;
  std::string head(count, '\0');
  const std::optional<std::size_t> got = file->read(head.data(), count);
  if (!got) return std::nullopt;
  head.resize(*got);
  return head;
}

}  // namespace ondrel::platform
