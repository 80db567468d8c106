#include "tests/plugin/plugin_module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "platform/private_folder.h"
#include "tests/support/environment.h"
#include "tests/support/fake_browser_env.h"
#include "tools/plugin_host/entry_point.h"

namespace ondrel::test {
namespace {

std::filesystem::path newFolder() {
  std::random_device entropy;
  const auto name = "ondrel-plugin-test-" + std::to_string(entropy()) + std::to_string(entropy());
  // Taken before any module points the temporary folder elsewhere.
  static const std::filesystem::path base = std::filesystem::temp_directory_path();
  auto folder = base / name;
  std::filesystem::create_directories(folder / "tmp");
  return folder;
}

template <typename Function>
Function lookUp(const platform::DynamicLibrary& library, const char* name) {
  const Function function = ondrel_host::entryPoint<Function>(library, name);
  if (function == nullptr) ADD_FAILURE() << "the module does not export " << name;
  return function;
}

}  // namespace

std::string fakeBrowserPath() { return ONDREL_FAKE_BROWSER; }

PluginModule::PluginModule() : folder_(newFolder()) {
  const std::filesystem::path built(ONDREL_MODULE);
  const std::filesystem::path copy = folder_ / built.filename();
  std::filesystem::copy_file(built, copy);

  const std::string temporary = (folder_ / "tmp").string();
  for (const char* variable : {"TMP", "TEMP", "TMPDIR"}) {
    platform::setEnvironmentVariable(variable, temporary);
  }
  // Else the capture folder would be the user's runtime folder, where it has one.
  unsetEnvironmentVariable("XDG_RUNTIME_DIR");
  platform::setEnvironmentVariable(kFakeBrowserLogVariable, (folder_ / "browser.log").string());
  setBrowserMode("normal");
  setBrowserDelay(0);
  unsetEnvironmentVariable(kFakeBrowserPageCopyVariable);

  library_ = platform::DynamicLibrary::open(copy.u16string());
  if (!library_) {
    ADD_FAILURE() << "cannot load " << copy << ": " << platform::DynamicLibrary::lastError();
    return;
  }
  getPluginInfo = lookUp<GetPluginInfoFunction>(*library_, "GetPluginInfo");
  getPluginInfoW = lookUp<GetPluginInfoWFunction>(*library_, "GetPluginInfoW");
  isSupported = lookUp<IsSupportedFunction>(*library_, "IsSupported");
  isSupportedW = lookUp<IsSupportedWFunction>(*library_, "IsSupportedW");
  getPictureInfo = lookUp<GetPictureInfoFunction>(*library_, "GetPictureInfo");
  getPictureInfoW = lookUp<GetPictureInfoWFunction>(*library_, "GetPictureInfoW");
  getPicture = lookUp<GetPictureFunction>(*library_, "GetPicture");
  getPictureW = lookUp<GetPictureWFunction>(*library_, "GetPictureW");
  getPreview = lookUp<GetPictureFunction>(*library_, "GetPreview");
  getPreviewW = lookUp<GetPictureWFunction>(*library_, "GetPreviewW");
}

PluginModule::~PluginModule() {
  library_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void PluginModule::unload() { library_.reset(); }

void PluginModule::writeSettings(const std::string& text) {
  const std::filesystem::path module(ONDREL_MODULE);
  std::ofstream(folder_ / module.filename().replace_extension(".ini"), std::ios::binary) << text;
}

void PluginModule::removeSettings() {
  const std::filesystem::path module(ONDREL_MODULE);
  std::filesystem::remove(folder_ / module.filename().replace_extension(".ini"));
}

void PluginModule::useFakeBrowser(const std::string& extraLines) {
  writeSettings("[SystemSetting]\nChrome=" + fakeBrowserPath() + "\n" + extraLines);
}

bool PluginModule::copyDrawingAssets() const {
  const std::filesystem::path built =
      std::filesystem::path(ONDREL_MODULE).parent_path() / "ondrel-assets";
  std::error_code error;
  if (!std::filesystem::is_directory(built, error)) return false;
  std::filesystem::copy(built, folder_ / "ondrel-assets", std::filesystem::copy_options::recursive,
                        error);
  return !error;
}

std::string PluginModule::folderUrl() const {
  std::string path = folder_.generic_string();
  std::replace(path.begin(), path.end(), '\\', '/');
  for (const char c : path) {
    if (!std::isalnum(static_cast<unsigned char>(c)) &&
        std::string_view("/:-_.~").find(c) == std::string_view::npos) {
      throw std::logic_error("the test folder's name needs escaping in a URL: " + path);
    }
  }
  // A drive path (C:/...) gets the empty host's slash of its own.
  return (path.starts_with('/') ? "file://" : "file:///") + path + "/";
}

std::filesystem::path PluginModule::writeFile(const std::string& name, const std::string& bytes) {
  const std::filesystem::path file = folder_ / name;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

std::filesystem::path PluginModule::captureFolder() const {
  return std::filesystem::path(platform::captureFolderLocation().value());
}

std::vector<std::string> PluginModule::leftovers() const {
  std::vector<std::string> names;
  std::error_code missing;
  for (const auto& entry : std::filesystem::directory_iterator(captureFolder(), missing)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

int PluginModule::picture(const std::filesystem::path& page, HandedOverPicture* result) const {
  platform::BlockHandle header = nullptr;
  platform::BlockHandle pixels = nullptr;
  const int code = getPictureW(page.u16string().c_str(), 0, 0, &header, &pixels, nullptr, 0);
  if (code == 0) {
    HandedOverPicture taken = HandedOverPicture::takeOver(header, pixels);
    if (result != nullptr) *result = std::move(taken);
  }
  return code;
}

int PluginModule::supportsEntry(const std::u16string& entryName, const std::string& image) const {
  // A pointer whose bits 16 to 31 are all zero would be taken for a file handle; within 64 KiB
  // of any address there is one whose are not.
  constexpr std::size_t kHead = 2048;
  std::vector<char> storage(kHead + 0x10000);
  std::size_t offset = 0;
  if (((std::uintptr_t(storage.data()) >> 16) & 0xFFFF) == 0) {
    offset = 0x10000 - (std::uintptr_t(storage.data()) & 0xFFFF);
  }
  std::copy_n(image.begin(), std::min(image.size(), kHead), storage.begin() + offset);
  return isSupportedW(entryName.c_str(), std::uintptr_t(storage.data() + offset));
}

int PluginModule::memoryPictureInfo(const std::string& image, PictureInfoRecord& record) const {
  return getPictureInfoW(reinterpret_cast<const char16_t*>(image.data()),
                         std::intptr_t(image.size()), 0x01, &record);
}

int PluginModule::memoryPicture(const std::string& image, HandedOverPicture* result) const {
  platform::BlockHandle header = nullptr;
  platform::BlockHandle pixels = nullptr;
  const int code = getPictureW(reinterpret_cast<const char16_t*>(image.data()),
                               std::intptr_t(image.size()), 0x01, &header, &pixels, nullptr, 0);
  if (code == 0) {
    HandedOverPicture taken = HandedOverPicture::takeOver(header, pixels);
    if (result != nullptr) *result = std::move(taken);
  }
  return code;
}

std::array<int, 2> PluginModule::picturesAtOnce(const std::array<std::filesystem::path, 2>& pages,
                                                std::array<HandedOverPicture, 2>& results) const {
  std::array<int, 2> codes = {-1, -1};
  std::thread other([&] {
    const platform::ComApartment threadCom;
    codes[1] = picture(pages[1], &results[1]);
  });
  codes[0] = picture(pages[0], &results[0]);
  other.join();
  return codes;
}

std::vector<std::string> PluginModule::temporaryFolderContents() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_ / "tmp")) {
    names.push_back(entry.path().string());
  }
  return names;
}

std::vector<BrowserRun> PluginModule::browserRuns() const {
  return readBrowserLog(folder_ / "browser.log");
}

void PluginModule::setBrowserMode(const std::string& mode) {
  platform::setEnvironmentVariable(kFakeBrowserModeVariable, mode);
}

void PluginModule::setBrowserDelay(int milliseconds) {
  platform::setEnvironmentVariable(kFakeBrowserDelayVariable, std::to_string(milliseconds));
}

void PluginModule::keepShownPage() {
  platform::setEnvironmentVariable(kFakeBrowserPageCopyVariable, (folder_ / "shown-page").string());
}

std::string PluginModule::shownPage() const {
  std::ifstream file(folder_ / "shown-page", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace ondrel::test
