#include "platform/private_folder.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/posix/descriptor.h"
#include "platform/posix/png_decoder.h"
#include "platform/shell_paths.h"

namespace ondrel::platform {

struct PrivateFolder::Native {
  WideString path;
  Descriptor folder;
  std::vector<std::string> files;  // in the order they were made
  bool removed = false;
};

namespace {

// A capture that ends removes the shared folder while it is empty, which can
// happen between making it and opening it.
constexpr int kOpenAttempts = 16;

template <typename Call>
int retryInterrupted(Call call) {
  int result;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result;
}

bool isUsersOwnFolder(const struct stat& status) {
  return S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
         (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// $XDG_RUNTIME_DIR when it names a folder that only this user can write.
std::optional<std::string> runtimeFolder() {
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  if (runtime == nullptr || runtime[0] != '/') return std::nullopt;
  struct stat status;
  if (stat(runtime, &status) != 0 || !isUsersOwnFolder(status)) return std::nullopt;
  return std::string(runtime);
}

Descriptor openFolder(const std::string& path) {
  return Descriptor(retryInterrupted(
      [&] { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); }));
}

// Whether the folder held open is still the one at `path`, not reached
// through a link, owned by the effective user and writable by nobody else.
bool isPrivate(const Descriptor& folder, const std::string& path) {
  struct stat held;
  struct stat named;
  if (fstat(folder.get(), &held) != 0 || lstat(path.c_str(), &named) != 0) return false;
  return !S_ISLNK(named.st_mode) && held.st_dev == named.st_dev && held.st_ino == named.st_ino &&
         isUsersOwnFolder(held);
}

std::unique_ptr<PrivateFolder::Native> holdFolder(const std::string& path, Descriptor folder) {
  WideString widePath = utf8ToWide(path);
  if (!fitsPathBuffer(widePath)) return nullptr;
  auto native = std::make_unique<PrivateFolder::Native>();
  native->path = std::move(widePath);
  native->folder = std::move(folder);
  return native;
}

// The shared folder at `path`, made when missing; nothing when it is not
// safely the user's own.
std::unique_ptr<PrivateFolder::Native> openShared(const std::string& path) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    mkdir(path.c_str(), 0700);
    Descriptor folder = openFolder(path);
    if (!folder.valid() && errno == ENOENT) continue;
    if (!folder.valid() || !isPrivate(folder, path)) return nullptr;
    return holdFolder(path, std::move(folder));
  }
  return nullptr;
}

// A new folder named `prefix` and six random characters; mkdtemp never
// reuses an existing name and gives it mode 0700.
std::unique_ptr<PrivateFolder::Native> makeFreshFolder(const std::string& prefix) {
  std::string path = prefix + "XXXXXX";
  if (mkdtemp(path.data()) == nullptr) return nullptr;
  Descriptor folder = openFolder(path);
  std::unique_ptr<PrivateFolder::Native> native;
  if (folder.valid() && isPrivate(folder, path)) native = holdFolder(path, std::move(folder));
  if (!native) rmdir(path.c_str());
  return native;
}

// Deeper than any browser profile goes; anything deeper is left, and the
// folder's removal then fails.
constexpr int kDeepestTree = 32;

struct ListingClose {
  void operator()(DIR* listing) const { closedir(listing); }
};

// The names in the folder open as `folder`, but "." and "..".
std::vector<std::string> namesIn(int folder) {
  std::vector<std::string> names;
  // The listing takes a copy of the descriptor over once it is made.
  Descriptor copy(fcntl(folder, F_DUPFD_CLOEXEC, 0));
  if (!copy.valid()) return names;
  const std::unique_ptr<DIR, ListingClose> listing(fdopendir(copy.get()));
  if (!listing) return names;
  copy.release();
  while (const dirent* entry = readdir(listing.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  return names;
}

// Removes everything in the folder open as `folder`, relative to it, so a
// folder swapped for a link while this runs is never followed.
void emptyFolder(int folder, int depth) {
  for (const std::string& name : namesIn(folder)) {
    if (unlinkat(folder, name.c_str(), 0) == 0) continue;
    const Descriptor inner(retryInterrupted([&] {
      return openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }));
    if (inner.valid() && depth > 0) emptyFolder(inner.get(), depth - 1);
    unlinkat(folder, name.c_str(), AT_REMOVEDIR);
  }
}

// A name for a file directly in the folder: no separator, no way up.
bool isPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace

std::optional<WideString> captureFolderLocation() {
  if (const std::optional<std::string> runtime = runtimeFolder()) {
    return combinePath(utf8ToWide(*runtime), u"ondrel");
  }
  const std::optional<WideString> temporary = temporaryFolder();
  if (!temporary) return std::nullopt;
  return combinePath(*temporary, widenAscii("ondrel-" + std::to_string(geteuid())));
}

std::optional<PrivateFolder> PrivateFolder::openCaptureFolder() {
  const std::optional<WideString> location = captureFolderLocation();
  if (!location) return std::nullopt;
  const std::string path = wideToUtf8(*location);
  std::unique_ptr<Native> native = openShared(path);
  if (!native) native = makeFreshFolder(path + "-");
  if (!native) return std::nullopt;
  return PrivateFolder(std::move(native));
}

std::optional<PrivateFolder> PrivateFolder::makeFresh(std::string_view prefix) {
  const std::optional<WideString> temporary = temporaryFolder();
  if (!temporary) return std::nullopt;
  const std::optional<WideString> start = combinePath(*temporary, widenAscii(prefix));
  if (!start) return std::nullopt;
  std::unique_ptr<Native> native = makeFreshFolder(wideToUtf8(*start));
  if (!native) return std::nullopt;
  return PrivateFolder(std::move(native));
}

PrivateFolder::PrivateFolder(std::unique_ptr<Native> native) : native_(std::move(native)) {}

PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept = default;

PrivateFolder::~PrivateFolder() {
  if (!native_ || native_->removed) return;
  for (const std::string& file : native_->files) unlinkat(native_->folder.get(), file.c_str(), 0);
  rmdir(wideToUtf8(native_->path).c_str());
}

const WideString& PrivateFolder::path() const { return native_->path; }

bool PrivateFolder::removeTree() {
  if (native_->removed) return true;
  emptyFolder(native_->folder.get(), kDeepestTree);
  native_->removed = rmdir(wideToUtf8(native_->path).c_str()) == 0 || errno == ENOENT;
  return native_->removed;
}

NewFile PrivateFolder::createFile(WideView name, std::string_view bytes) {
  const std::string file = wideToUtf8(name);
  if (!isPlainName(file)) return NewFile::kFailed;
  Descriptor created(retryInterrupted([&] {
    return openat(native_->folder.get(), file.c_str(),
                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  }));
  if (!created.valid()) return errno == EEXIST ? NewFile::kNameTaken : NewFile::kFailed;
  native_->files.push_back(file);
  return writeAll(created.get(), bytes) ? NewFile::kCreated : NewFile::kFailed;
}

namespace {

// The plain file `name` in `folder` opened for reading, never through a link;
// none for anything else. Not blocking on open keeps a named pipe from
// stalling the capture.
Descriptor openPlainFile(const Descriptor& folder, WideView name) {
  const std::string file = wideToUtf8(name);
  if (!isPlainName(file)) return Descriptor();
  Descriptor opened(retryInterrupted([&] {
    return openat(folder.get(), file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }));
  struct stat status;
  if (!opened.valid() || fstat(opened.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return Descriptor();
  }
  return opened;
}

}  // namespace

std::unique_ptr<ScreenshotBitmap> PrivateFolder::decodePng(WideView name, int maxWidth,
                                                           int maxHeight) const {
  const Descriptor png = openPlainFile(native_->folder, name);
  if (!png.valid()) return nullptr;
  return decodePngDescriptor(png.get(), maxWidth, maxHeight);
}

std::optional<std::string> PrivateFolder::readHead(WideView name, std::size_t count) const {
  const Descriptor file = openPlainFile(native_->folder, name);
  if (!file.valid()) return std::nullopt;
  std::string head(count, '\0');
  std::size_t got = 0;
  while (got < count) {
    const ssize_t read =
        retryInterrupted([&] { return int(::read(file.get(), head.data() + got, count - got)); });
    if (read < 0) return std::nullopt;
    if (read == 0) break;
    got += std::size_t(read);
  }
  head.resize(got);
  return head;
}

}  // namespace ondrel::platform
