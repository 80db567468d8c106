#ifndef ONDREL_PLATFORM_PRIVATE_FOLDER_H_
#define ONDREL_PLATFORM_PRIVATE_FOLDER_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/screenshot_bitmap.h"
#include "text/wide_text.h"

namespace ondrel::platform {

// What became of a request for a new file.
enum class NewFile { kCreated, kNameTaken, kFailed };

// A folder of the user's own, held for as long as files are kept in it, so
// that nobody else can redirect what is written into it or read from it.
// Files are named relative to the folder. When the object goes, the files it
// made are removed in the order they were made, then the folder; removing a
// shared folder fails, harmlessly, while other captures have files in it.
class PrivateFolder {
 public:
  // The user's capture folder (see captureFolderLocation), made when missing.
  // Where it is not a folder that only this user can write, it is never
  // written into: a fresh folder beside it takes its place for this holder.
  static std::optional<PrivateFolder> openCaptureFolder();

  // A new, empty folder in the user's temporary folder, its name starting
  // with `prefix`.
  static std::optional<PrivateFolder> makeFresh(std::string_view prefix);

  PrivateFolder(PrivateFolder&& other) noexcept;
  PrivateFolder& operator=(PrivateFolder&&) = delete;
  PrivateFolder(const PrivateFolder&) = delete;
  ~PrivateFolder();

  const WideString& path() const;

  // Makes the file `name` holding `bytes`. Where others could have planted a
  // file, an existing name is never opened: it is reported as taken.
  NewFile createFile(WideView name, std::string_view bytes);

  // Removes everything in the folder, whoever made it, then the folder
  // itself: for a folder handed to another program, such as a browser's
  // profile. Links are removed, never followed. True when the folder is gone;
  // after that the object holds nothing but its path.
  bool removeTree();

  // Decodes the PNG file `name` in this folder, at most the top-left
  // `maxWidth` x `maxHeight` pixels; nothing when it is missing, not a plain
  // file or no PNG.
  std::unique_ptr<ScreenshotBitmap> decodePng(WideView name, int maxWidth, int maxHeight) const;

  // The first `count` bytes of the plain file `name` in this folder, fewer
  // when it is shorter; nothing when it is missing or no plain file. Tells a
  // screenshot that was never written from one that is no PNG.
  std::optional<std::string> readHead(WideView name, std::size_t count) const;

  // What the platform holds of the folder; each platform defines it.
  struct Native;

 private:
  explicit PrivateFolder(std::unique_ptr<Native> native);
  std::unique_ptr<Native> native_;
};

// Where the user's capture folder is, made or not; nothing when no path can
// be had or it does not fit a path buffer.
std::optional<WideString> captureFolderLocation();

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_PRIVATE_FOLDER_H_
