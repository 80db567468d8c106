// A private copy of the plug-in module, loaded the way a viewer loads it, with
// its own settings file, temporary folder and fake browser.
#ifndef ONDREL_TESTS_PLUGIN_PLUGIN_MODULE_H_
#define ONDREL_TESTS_PLUGIN_PLUGIN_MODULE_H_

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host_support.h"
#include "plugin/exports.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/support/browser_log.h"

namespace ondrel::test {

class PluginModule {
 public:
  // Copies the built module into a new folder and loads it from there; the
  // user's temporary folder of the process is pointed into that folder too.
  PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;
  ~PluginModule();

  // Unloads the module as a viewer does when done with it; its folder stays until the object goes.
  // No export may be called after this.
  void unload();

  // Replaces the settings file beside the module; `text` is its whole content.
  void writeSettings(const std::string& text);
  void removeSettings();
  // A settings file naming the fake browser, plus `extraLines`.
  void useFakeBrowser(const std::string& extraLines = "");

  // A file in the module's folder with `bytes` as content; its full name.
  std::filesystem::path writeFile(const std::string& name, const std::string& bytes);

  std::filesystem::path folder() const { return folder_; }
  // Copies the drawing assets that the build put beside the built module (ondrel-assets) beside
  // this copy; false when the build has none.
  bool copyDrawingAssets() const;
  // The file URL of folder(), ending in "/": what a page staged for a document in it resolves its
  // relative links against. Worked out apart from the plug-in, for the plain names tests use.
  std::string folderUrl() const;
  // The folder in which captures keep their temporary files.
  std::filesystem::path captureFolder() const;
  // Files left in the capture folder (empty when the folder is gone).
  std::vector<std::string> leftovers() const;

  // GetPictureW of the file, as a viewer calls it; the result code. On
  // success the picture is taken over into `result` when one is given.
  int picture(const std::filesystem::path& page, HandedOverPicture* result = nullptr) const;

  // A viewer's calls for a document inside an archive: IsSupportedW with the entry's name and
  // the image's head, then GetPictureInfoW and GetPictureW on the image in memory (flag 0x01).
  // Their answers; the picture is taken over into `result` when one is given.
  int supportsEntry(const std::u16string& entryName, const std::string& image) const;
  int memoryPictureInfo(const std::string& image, PictureInfoRecord& record) const;
  int memoryPicture(const std::string& image, HandedOverPicture* result = nullptr) const;

  // GetPictureW of two files asked for at once, from two threads; their
  // result codes, and their pictures in `results`.
  std::array<int, 2> picturesAtOnce(const std::array<std::filesystem::path, 2>& pages,
                                    std::array<HandedOverPicture, 2>& results) const;

  // Everything in the process's temporary folder (captures' files, staged
  // pages, browser profiles), folders included, by full name.
  std::vector<std::string> temporaryFolderContents() const;

  // The fake browser's runs since the module was loaded.
  std::vector<BrowserRun> browserRuns() const;
  void setBrowserMode(const std::string& mode);
  void setBrowserDelay(int milliseconds);
  // From now on the fake browser keeps a copy of the page it is shown, staged or not.
  void keepShownPage();
  // The copy of the page the fake browser was shown last; empty when none was kept.
  std::string shownPage() const;

  GetPluginInfoFunction getPluginInfo = nullptr;
  GetPluginInfoWFunction getPluginInfoW = nullptr;
  IsSupportedFunction isSupported = nullptr;
  IsSupportedWFunction isSupportedW = nullptr;
  GetPictureInfoFunction getPictureInfo = nullptr;
  GetPictureInfoWFunction getPictureInfoW = nullptr;
  GetPictureFunction getPicture = nullptr;
  GetPictureWFunction getPictureW = nullptr;
  GetPictureFunction getPreview = nullptr;
  GetPictureWFunction getPreviewW = nullptr;

 private:
  std::filesystem::path folder_;
  std::optional<platform::DynamicLibrary> library_;
};

// The fake browser program's full name.
std::string fakeBrowserPath();

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_PLUGIN_PLUGIN_MODULE_H_
